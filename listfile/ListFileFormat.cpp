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

std::wstring DecodeListFile(std::string_view bytes)
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
} // namespace

std::optional<std::string> ListFileBytes(const CString& listText)
{
    const std::wstring text = WithCrLfBreaks(listText.Str());
    if (std::optional<std::string> ansi = AnsiFromWide(text))
        if (DecodeListFile(*ansi) == text)
            return ansi;
    std::optional<std::string> utf8 = Utf8FromWide(text);
    // A text that itself begins with U+FEFF keeps it only behind a byte-order mark, which reading skips.
    if (utf8 && text.starts_with(L'\uFEFF'))
        utf8->insert(0, "\xEF\xBB\xBF");
    return utf8;
}

CStringArray ListFileLines(std::string_view bytes)
{
    // A NUL byte is no character of any path; it is dropped on its own so that the rest of its line stays.
    std::string kept(bytes.substr(0, bytes.find('\x1A')));
    std::erase(kept, '\0');
    const std::wstring text = DecodeListFile(kept);
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
