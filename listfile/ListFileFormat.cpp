#include "ListFileFormat.h"

#include "../platform/CodePage.h"

#include <algorithm>
#include <optional>

namespace
{
std::wstring WithCrLfBreaks(const std::wstring& text)
{
    std::wstring stored;
    stored.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            continue; // the LF that follows writes the pair
        if (text[i] == L'\n')
            stored += L'\r';
        stored += text[i];
    }
    return stored;
}

bool HasMultiByteSequence(std::string_view bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char byte) { return (byte & 0x80) != 0; });
}

std::wstring DecodeEightBit(std::string_view bytes)
{
    if (HasMultiByteSequence(bytes))
        if (std::optional<std::wstring> text = WideFromUtf8(bytes))
        {
            if (text->starts_with(L'\uFEFF'))
                text->erase(0, 1);
            return *text;
        }
    return WideFromAnsi(bytes);
}

// Code units as wide text. Where a wide character is wider than UTF-16 (everywhere but Windows), each pair
// of surrogates becomes the character it stands for; a lone surrogate stays a unit of its own everywhere, as
// in a file name that NTFS allows.
std::wstring WideFromUtf16(const std::u16string& units)
{
    if constexpr (sizeof(wchar_t) == sizeof(char16_t))
        return std::wstring(units.begin(), units.end());
    else
    {
        std::wstring text;
        text.reserve(units.size());
        for (std::size_t i = 0; i < units.size(); ++i)
        {
            const char32_t high = units[i];
            const char32_t low = i + 1 < units.size() ? units[i + 1] : 0;
            if (high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF)
            {
                text += static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
                ++i;
            }
            else
                text += static_cast<wchar_t>(high);
        }
        return text;
    }
}

// The text of a UTF-16 list file after its mark, under the rules of every list file: Ctrl+Z ends it, NUL is
// dropped. A last byte without its partner is no character.
std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        const auto unit = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        if (unit == u'\x1A')
            break;
        if (unit != u'\0')
            units += unit;
    }
    return WideFromUtf16(units);
}

// The whole text that reading takes from a list file's bytes, before it is cut into lines. Windows
// PowerShell and Notepad mark UTF-16 with a byte-order mark; any other file is 8-bit text, in which input
// ends at the first byte 0x1A and a NUL byte is no character of any path: it is dropped on its own, so that
// the rest of its line stays.
std::wstring ListFileText(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return DecodeUtf16(bytes.substr(2), bytes[0] == '\xFE');
    std::string kept(bytes.substr(0, bytes.find('\x1A')));
    std::erase(kept, '\0');
    return DecodeEightBit(kept);
}
} // namespace

std::optional<std::string> ListFileBytes(const CString& listText)
{
    // Bytes that reading would give back otherwise (a Ctrl+Z, a NUL, a lone surrogate in the text) must
    // never pass for the list: only bytes that read back as the stored text are the list's.
    const std::wstring text = WithCrLfBreaks(listText.Str());
    if (std::optional<std::string> ansi = AnsiFromWide(text))
        if (ListFileText(*ansi) == text)
            return ansi;
    std::optional<std::string> utf8 = Utf8FromWide(text);
    if (!utf8)
        return std::nullopt;
    // A text that itself begins with U+FEFF keeps it only behind a byte-order mark, which reading skips.
    if (text.starts_with(L'\uFEFF'))
        utf8->insert(0, "\xEF\xBB\xBF");
    if (ListFileText(*utf8) != text)
        return std::nullopt;
    return utf8;
}

CStringArray ListFileLines(std::string_view bytes)
{
    const std::wstring text = ListFileText(bytes);
    CStringArray lines;
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::size_t lineEnd = end;
        if (lineEnd > start && end < text.size() && text[lineEnd - 1] == L'\r')
            --lineEnd; // the CR of a CR LF pair
        lines.Add(CString(text.substr(start, lineEnd - start)));
        start = end + 1;
    }
    return lines;
}
