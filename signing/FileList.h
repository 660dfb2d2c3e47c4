#pragma once

#include "../platform/CString.h"
#include "../platform/CStringArray.h"

// Replaces files with the entries of the list text: every CR and every LF separates, runs of them and blank
// lines yield nothing, and entries are kept exactly as written (no trimming, duplicates stay).
void SplitFileList(const CString& listText, CStringArray& files);

// The list text of the entries: "\r\n" goes before an entry only when the text built so far is not empty.
CString JoinFileList(const CStringArray& entries);
