#pragma once

#include "../platform/CString.h"

// The list-file type as the shell knows it: its extension and ProgID, the names of its files, the argument
// that opens one at start, and the command that opens one from the shell.
inline constexpr wchar_t kListFileExtension[] = L".ksig";
inline constexpr wchar_t kListFileProgId[] = L"Quorlin.sigfile";

// Whether a path names a list file: its last five characters are ".ksig" in any case.
bool IsListFileName(const CString& path);

// The list file to open at start: argv[1] when it names one, else empty. Later arguments are not looked at.
CString ListFileFromCommandLine(int argc, const wchar_t* const* argv);

// The shell's open command for list files: the executable's path and the opened file, each in quotes.
CString OpenCommandFor(const CString& executablePath);
