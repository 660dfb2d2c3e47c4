#include "CodePage.h"

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
