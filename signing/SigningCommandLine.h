#pragma once

#include "../platform/CString.h"

// The RFC 3161 time-stamping service that the signing tool asks for every signature.
inline constexpr wchar_t kTimestampUrl[] = L"http://timestamp.sectigo.com";

// One argument in double quotes, escaped so that CommandLineToArgvW and the C runtime read back exactly it:
// backslashes are doubled only before a quote, and an embedded quote is escaped.
CString QuoteArgument(const CString& argument);

// Whether the signing tool would read this file path as an option: it takes every argument that begins with
// / or - for one, quoted or not.
bool LooksLikeAnOption(const CString& filePath);

// "<tool>" sign /tr <url> /td sha256 /fd sha256 /a "<file>"
CString BuildSigningCommandLine(const CString& toolPath, const CString& filePath);
