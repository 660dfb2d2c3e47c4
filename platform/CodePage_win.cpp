#include "CodePage.h"

#include <windows.h>

#include <algorithm>
#include <climits>

// The conversions count in int; text beyond 2 GiB is more than any edit control could show anyway.
namespace
{
int ClampedLength(std::size_t length)
{
    return static_cast<int>(std::min<std::size_t>(length, INT_MAX));
}

// With MB_ERR_INVALID_CHARS, nothing when a byte sequence does not decode; without, such bytes become U+FFFD.
std::optional<std::wstring> Decode(std::string_view bytes, unsigned codePage, DWORD flags)
{
    const int count = ClampedLength(bytes.size());
    if (count == 0)
        return std::wstring();
    // No code page makes more characters than bytes, so one pass into a buffer of that size is enough.
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    const int made = MultiByteToWideChar(codePage, flags, bytes.data(), count, wide.data(), count);
    if (made <= 0)
        return std::nullopt;
    wide.resize(static_cast<std::size_t>(made));
    return wide;
}

// Nothing when the text does not convert whole: a part of it must never pass for all of it.
std::optional<std::string> Encode(std::wstring_view text, unsigned codePage, DWORD flags)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), needed, nullptr, nullptr) !=
        needed)
        return std::nullopt;
    return bytes;
}
} // namespace

std::wstring WideFromCodePage(std::string_view bytes, unsigned codePage)
{
    return Decode(bytes, codePage, 0).value_or(std::wstring());
}

std::wstring WideFromAnsi(std::string_view bytes)
{
    return WideFromCodePage(bytes, CP_ACP);
}

std::optional<std::string> AnsiFromWide(std::wstring_view text)
{
    std::optional<std::string> bytes = Encode(text, CP_ACP, 0);
    // A character without a form of its own comes out as '?' or a look-alike; only a round trip tells.
    if (!bytes || WideFromAnsi(*bytes) != text)
        return std::nullopt;
    return bytes;
}

std::optional<std::string> Utf8FromWide(std::wstring_view text)
{
    // Without the flag a lone surrogate would become U+FFFD: another path than the one given.
    return Encode(text, CP_UTF8, WC_ERR_INVALID_CHARS);
}

std::optional<std::wstring> WideFromUtf8(std::string_view bytes)
{
    return Decode(bytes, CP_UTF8, MB_ERR_INVALID_CHARS);
}
