#pragma once

#include <string>
#include <string_view>

// Wide text of bytes in the ANSI code page; where the platform has none, the bytes are read as Latin-1.
std::wstring WideFromAnsi(std::string_view bytes);

#ifdef _WIN32
// Wide text of bytes in the given Windows code page; bytes that do not decode become U+FFFD.
std::wstring WideFromCodePage(std::string_view bytes, unsigned codePage);
#endif
