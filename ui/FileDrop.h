#pragma once

#include "../platform/CString.h"
#include "../platform/CStringArray.h"

#include <optional>
#include <vector>

// The first dropped name, in drop order, that names a list file; a drop that holds one loads it and
// ignores every other name.
std::optional<CString> FirstListFile(const std::vector<CString>& names);

// A drop of other names: they are appended to files, and the result is the list text of the whole list in
// plain form, one entry a line.
CString AppendDroppedNames(CStringArray& files, const std::vector<CString>& names);
