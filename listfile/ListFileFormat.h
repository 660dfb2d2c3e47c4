#pragma once

#include "../platform/CString.h"
#include "../platform/CStringArray.h"

#include <optional>
#include <string>
#include <string_view>

// The bytes of a list file for a list text. Each CR LF and each lone LF is stored as one CR LF, a lone CR as
// it is. The text goes in the ANSI code page when that reads back exactly, and in UTF-8 without a
// byte-order mark otherwise, so no character is lost; nothing when no encoding reads back as the text (one
// that holds Ctrl+Z, NUL or a lone surrogate).
std::optional<std::string> ListFileBytes(const CString& listText);

// The lines of a list file, as text-mode reading gives them: input ends at the first Ctrl+Z (0x1A), a line
// ends at LF (a CR LF counts as one LF; any other CR stays in its line), and the last line needs no break.
// NUL is dropped.
// A file that begins with the byte-order mark FF FE is UTF-16 LE, one with FE FF UTF-16 BE, the mark not part
// of the text. Other bytes that are valid UTF-8 with at least one multi-byte sequence are UTF-8 (a leading
// byte-order mark is skipped); anything else is read in the ANSI code page, in which every list that it can
// hold is written.
CStringArray ListFileLines(std::string_view bytes);
