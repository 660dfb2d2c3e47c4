#pragma once

#include <optional>
#include <string>
#include <string_view>

// Wide text of bytes in the ANSI code page; where the platform has none, the bytes are read as Latin-1.
std::wstring WideFromAnsi(std::string_view bytes);

// The bytes of text in the ANSI code page, or nothing when a character has no exact form there (Latin-1
// where the platform has no ANSI code page).
std::optional<std::string> AnsiFromWide(std::wstring_view text);

// UTF-8 of wide text (UTF-16 on Windows, UTF-32 elsewhere); nothing when a character has no UTF-8 form (a
// lone surrogate) or the conversion fails.
std::optional<std::string> Utf8FromWide(std::wstring_view text);

// Wide text of strictly valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF), or nothing.
std::optional<std::wstring> WideFromUtf8(std::string_view bytes);

#ifdef _WIN32
// Wide text of bytes in the given Windows code page; bytes that do not decode become U+FFFD.
std::wstring WideFromCodePage(std::string_view bytes, unsigned codePage);
#endif
