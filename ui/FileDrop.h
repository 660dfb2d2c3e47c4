#pragma once

#include "../platform/CString.h"
#include "../platform/CStringArray.h"

#include <optional>
#include <vector>

// The first dropped name, in drop order, that names a list file; a drop that holds one loads it and
// ignores every other name.
std::optional<CString> FirstListFile(const std::vector<CString>& names);

// A drop of other names: they go after the list as the box shows it, and the result is that whole list in
// plain form, one entry a line. The file list becomes the same entries, except while a signing run walks it:
// then it keeps the entries the run is working through and gains only the names, so that the run signs each
// file once, whatever the user has typed since it began.
CString AppendDroppedNames(const CString& shownList, const std::vector<CString>& names, CStringArray& files,
                           bool runWalksFiles);
