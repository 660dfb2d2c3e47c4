#include "Png.h"

#include <array>
#include <cstdlib>

namespace
{
std::uint32_t Crc32(const std::string& bytes, std::size_t from)
{
    static const std::array<std::uint32_t, 256> table = []
    {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n)
        {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        crc = table[(crc ^ static_cast<std::uint8_t>(bytes[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void Chunk(std::string& png, const char* type, const std::string& data)
{
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png += type;
    png += data;
    PutBigEndian(png, Crc32(png, start));
}

// A deflate stream with the fixed Huffman codes, whose only matches repeat the previous byte.
class Deflater
{
  public:
    std::string Compress(const std::vector<std::uint8_t>& data)
    {
        Bits(1, 1); // the final block
        Bits(1, 2); // fixed codes
        for (std::size_t i = 0; i < data.size();)
        {
            std::size_t run = 0;
            while (i > 0 && i + run < data.size() && run < 258 && data[i + run] == data[i - 1])
                ++run;
            if (run >= 3)
            {
                Length(static_cast<int>(run));
                Code(0, 5); // distance 1
                i += run;
            }
            else
                Literal(data[i++]);
        }
        Literal(256);
        if (m_count > 0)
            m_out += static_cast<char>(m_buffer);
        return m_out;
    }

  private:
    void Bits(std::uint32_t value, int count)
    {
        for (int k = 0; k < count; ++k)
        {
            m_buffer |= ((value >> k) & 1) << m_count;
            if (++m_count == 8)
            {
                m_out += static_cast<char>(m_buffer);
                m_buffer = 0;
                m_count = 0;
            }
        }
    }
    // Huffman codes go most significant bit first.
    void Code(std::uint32_t code, int length)
    {
        for (int k = length - 1; k >= 0; --k)
            Bits((code >> k) & 1, 1);
    }
    void Literal(int value)
    {
        if (value < 144)
            Code(0x30 + value, 8);
        else if (value < 256)
            Code(0x190 + (value - 144), 9);
        else if (value < 280)
            Code(value - 256, 7);
        else
            Code(0xC0 + (value - 280), 8);
    }
    void Length(int length)
    {
        static const int base[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                   31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const int extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                    2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        int index = 28;
        while (base[index] > length)
            --index;
        Literal(257 + index);
        Bits(static_cast<std::uint32_t>(length - base[index]), extra[index]);
    }

    std::string m_out;
    std::uint32_t m_buffer = 0;
    int m_count = 0;
};
} // namespace

std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    // Each row is stored with the Up filter, so that rows like the one above turn into runs of zeros.
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> filtered;
    filtered.reserve((stride + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
    {
        filtered.push_back(2);
        for (std::size_t x = 0; x < stride; ++x)
        {
            const std::uint8_t above = y > 0 ? rgb[(y - 1) * stride + x] : 0;
            filtered.push_back(static_cast<std::uint8_t>(rgb[y * stride + x] - above));
        }
    }
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : filtered)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    std::string zlib = "\x78\x01";
    zlib += Deflater().Compress(filtered);
    PutBigEndian(zlib, (b << 16) | a);

    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);
    std::string png = "\x89PNG\r\n\x1a\n";
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", "");
    return png;
}
