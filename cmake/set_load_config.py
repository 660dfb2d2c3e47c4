"""Points a PE32+ image's load configuration directory at its _load_config_used structure.

GNU ld before 2.42 links the structure but leaves the directory empty, so Windows would never read it.
Usage: set_load_config.py IMAGE NM. The image's checksum is made again for the changed header.
"""

import struct
import sys
from subprocess import run

LOAD_CONFIG_ENTRY = 10


def symbol_address(nm, image, name):
    for line in run([nm, image], check=True, capture_output=True, text=True).stdout.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[2] == name:
            return int(fields[0], 16)
    sys.exit(f"{image}: no symbol {name}")


def file_offset(data, optional, rva):
    (sections,) = struct.unpack_from("<H", data, optional - 18)
    (optional_size,) = struct.unpack_from("<H", data, optional - 4)
    for index in range(sections):
        entry = optional + optional_size + 40 * index
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from("<IIII", data, entry + 8)
        if virtual_address <= rva < virtual_address + min(virtual_size, raw_size):
            return rva - virtual_address + raw_offset
    sys.exit(f"no section holds the address {rva:#x} in the file")


def pe_checksum(data):
    """The checksum Windows' CheckSumMappedFile gives: 16-bit words added with end-around carry, plus the size."""
    total = 0
    for (word,) in struct.iter_unpack("<H", data + b"\0" * (len(data) % 2)):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def main():
    image, nm = sys.argv[1], sys.argv[2]
    with open(image, "rb") as file:
        data = bytearray(file.read())
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    optional = pe_offset + 4 + 20
    (magic,) = struct.unpack_from("<H", data, optional)
    if magic != 0x20B:
        sys.exit(f"{image}: not a PE32+ image")
    (image_base,) = struct.unpack_from("<Q", data, optional + 24)
    rva = symbol_address(nm, image, "_load_config_used") - image_base
    (size,) = struct.unpack_from("<I", data, file_offset(data, optional, rva))
    struct.pack_into("<II", data, optional + 112 + 8 * LOAD_CONFIG_ENTRY, rva, size)
    checksum = optional + 64
    struct.pack_into("<I", data, checksum, 0)
    struct.pack_into("<I", data, checksum, pe_checksum(bytes(data)))
    with open(image, "wb") as file:
        file.write(data)


main()
