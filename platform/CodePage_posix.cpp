#include "CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{
bool IsUnicodeScalar(wchar_t c)
{
    const auto code = static_cast<std::uint32_t>(c);
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// One whole conversion by the C library's iconv, or nothing when any of the input does not convert.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input)
{
    const iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    // Between UTF-8 and the four bytes of a wchar_t, no conversion makes more than four bytes of one.
    std::string output(input.size() * 4, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}
} // namespace

std::wstring WideFromAnsi(std::string_view bytes)
{
    std::wstring wide;
    wide.reserve(bytes.size());
    for (const char byte : bytes)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return wide;
}

std::optional<std::string> AnsiFromWide(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (const wchar_t c : text)
    {
        if (static_cast<unsigned long>(c) > 0xFF)
            return std::nullopt;
        bytes += static_cast<char>(c);
    }
    return bytes;
}

std::optional<std::string> Utf8FromWide(std::wstring_view text)
{
    if (!std::all_of(text.begin(), text.end(), IsUnicodeScalar))
        return std::nullopt;
    const std::string_view units(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return Convert("UTF-8", "WCHAR_T", units);
}

std::optional<std::wstring> WideFromUtf8(std::string_view bytes)
{
    const std::optional<std::string> units = Convert("WCHAR_T", "UTF-8", bytes);
    if (!units)
        return std::nullopt;
    std::wstring text(units->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), units->data(), text.size() * sizeof(wchar_t));
    // glibc reads four-byte forms up to U+1FFFFF; Unicode ends at U+10FFFF.
    if (!std::all_of(text.begin(), text.end(), IsUnicodeScalar))
        return std::nullopt;
    return text;
}
