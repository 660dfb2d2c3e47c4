#!/usr/bin/env python3
"""Draws Quorlin's icon and writes ui/Quorlin.ico.

The drawing: a white page with a folded corner and lines of text, and a green seal with a white tick at
its lower right, on a transparent ground. Every image is rendered from the same shapes, 4 x 4 samples a
pixel, so each size is sharp. 16, 24, 32 and 48 pixels come in 16 colours, 256 colours and 32-bit colour;
256 pixels in 32-bit colour, stored as PNG as Windows expects for that size.

Run it again after changing the drawing: python3 tools/make-icon.py
"""
import math
import struct
import zlib
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "ui" / "Quorlin.ico"

PAGE = (250, 250, 247)
PAGE_EDGE = (70, 84, 102)
FOLD = (206, 214, 224)
TEXT = (128, 140, 156)
SEAL = (22, 150, 98)
SEAL_EDGE = (12, 96, 62)
TICK = (255, 255, 255)


def inside_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def distance_to_segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def sample(x, y):
    """Colour and coverage of the drawing at (x, y), both coordinates from 0 to 1."""
    seal_x, seal_y, seal_r = 0.70, 0.70, 0.27
    d_seal = math.hypot(x - seal_x, y - seal_y)
    if d_seal <= seal_r:
        tick = min(distance_to_segment(x, y, 0.585, 0.705, 0.665, 0.785),
                   distance_to_segment(x, y, 0.665, 0.785, 0.815, 0.615))
        if tick <= 0.038:
            return TICK
        return SEAL_EDGE if d_seal > seal_r - 0.035 else SEAL

    left, top, right, bottom, fold = 0.14, 0.04, 0.76, 0.96, 0.2
    if not inside_rounded_rect(x, y, left, top, right, bottom, 0.04):
        return None
    if x > right - fold and y < top + fold:
        if (x - (right - fold)) + (top + fold - y) > fold:
            return None  # the corner folded away
        if (x - (right - fold)) + (top + fold - y) > fold - 0.035:
            return PAGE_EDGE
        return FOLD
    edge = 0.035
    if x < left + edge or x > right - edge or y < top + edge or y > bottom - edge:
        return PAGE_EDGE
    for line_y, line_right in ((0.28, 0.52), (0.40, 0.64), (0.52, 0.56), (0.64, 0.44), (0.76, 0.40)):
        if abs(y - line_y) < 0.03 and left + 0.1 <= x <= line_right:
            return TEXT
    return PAGE


def render(size, samples=4):
    """Rows of (r, g, b, a), top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    colour = sample((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if colour:
                        r, g, b, covered = r + colour[0], g + colour[1], b + colour[2], covered + 1
            if covered:
                row.append((r // covered, g // covered, b // covered, 255 * covered // (samples * samples)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
         (0, 255, 255), (255, 255, 255)]
CUBE = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
PALETTE256 = CUBE + [(v * 255 // 39, v * 255 // 39, v * 255 // 39) for v in range(40)]


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def and_mask(rows, size):
    """The transparency mask, bottom row first, each row padded to 32 bits: 1 where nothing is drawn."""
    stride = ((size + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bits
    return bytes(data)


def dib(rows, size, bits):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    if bits == 32:
        pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
        return header + pixels + and_mask(rows, size)
    palette = VGA16 if bits == 4 else PALETTE256
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    stride = ((size * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, colour in enumerate(row):
            index = nearest(palette, colour) if colour[3] >= 128 else 0
            if bits == 8:
                line[x] = index
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += line
    return header + table + bytes(pixels) + and_mask(rows, size)


def png(rows, size):
    raw = b"".join(b"\x00" + bytes(channel for pixel in row for channel in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images = []
    for size in (16, 24, 32, 48):
        rows = render(size)
        for bits in (4, 8, 32):
            images.append((size, bits, dib(rows, size, bits)))
    images.append((256, 32, png(render(256, samples=2), 256)))

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    OUT.write_bytes(directory + b"".join(data for _, _, data in images))
    print(f"wrote {OUT} with {len(images)} images")


if __name__ == "__main__":
    main()
