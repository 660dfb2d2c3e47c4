#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-8 of wide text (UTF-16 on Windows, UTF-32 elsewhere); a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// Wide text of strictly valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF), or nothing.
std::optional<std::wstring> WideFromUtf8(std::string_view bytes);
