#pragma once

#include "listfile/ListFileFormat.h"
#include "platform/CString.h"
#include "platform/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

// The bytes a save writes for a list text. Every text converts, so a failure is a finding.
inline std::string SavedBytes(const CString& listText)
{
    const std::optional<std::string> bytes = ListFileBytes(listText);
    if (!bytes)
        std::abort();
    return *bytes;
}

// Fuzz bytes as text: UTF-8 when they are valid UTF-8, else one character a byte, so every input reaches
// the rules as some text, line breaks included.
inline CString TextFromFuzzBytes(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (std::optional<std::wstring> text = WideFromUtf8(bytes))
        return CString(std::move(*text));
    std::wstring text;
    for (const std::uint8_t byte : bytes)
        text += static_cast<wchar_t>(byte);
    return CString(std::move(text));
}
