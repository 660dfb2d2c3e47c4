#pragma once

#include "listfile/ListFileFormat.h"
#include "platform/CString.h"
#include "platform/CodePage.h"
#include "signing/FileList.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

// Whether some bytes read back as the text: it holds no Ctrl+Z, which ends reading, no NUL, which reading
// drops, and no lone surrogate, which UTF-8 cannot hold. The fuzz targets run natively, where a wide
// character is UTF-32, so every surrogate is a lone one.
inline bool CanBeSaved(const CString& listText)
{
    return std::none_of(listText.Str().begin(), listText.Str().end(),
                        [](wchar_t c) { return c == L'\0' || c == L'\x1A' || (c >= 0xD800 && c <= 0xDFFF); });
}

// The bytes a save writes for a list text, or nothing. A text that could be saved and is refused, or one
// that could not and is written anyway, is a finding.
inline std::optional<std::string> SavedBytes(const CString& listText)
{
    std::optional<std::string> bytes = ListFileBytes(listText);
    if (bytes.has_value() != CanBeSaved(listText))
        std::abort();
    return bytes;
}

// Fuzz bytes as text: after the mark FF FE, UTF-16 LE code units, lone surrogates and all, as a drop or a
// paste hands them over; else UTF-8 when they are valid UTF-8, else one character a byte. So every input
// reaches the rules as some text, line breaks included.
inline CString TextFromFuzzBytes(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.starts_with("\xFF\xFE"))
        return JoinFileList(ListFileLines(bytes));
    if (std::optional<std::wstring> text = WideFromUtf8(bytes))
        return CString(std::move(*text));
    std::wstring text;
    for (std::size_t i = 0; i < size; ++i)
        text += static_cast<wchar_t>(data[i]);
    return CString(std::move(text));
}
