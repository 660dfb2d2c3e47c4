#pragma once

#include "../platform/CString.h"

// Runs the signing tool once for filePath and waits for it. true: the tool ran and output holds everything it
// printed, decoded from the ANSI code page. false: it could not be started, a message box said why, and
// output is untouched. The tool's exit code is not read: its own text is the only verdict.
bool SignOneFile(const CString& filePath, CString& output, const CString& toolPath);
