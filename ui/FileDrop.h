#pragma once

#include "../platform/CString.h"
#include "../platform/CStringArray.h"

#include <optional>
#include <vector>

// The first dropped name, in drop order, that names a list file; a drop that holds one loads it and
// ignores every other name.
std::optional<CString> FirstListFile(const std::vector<CString>& names);

// A drop of other names: files becomes the list made from listText with the names appended, and the result
// is its list text in plain form, one entry a line.
CString AppendDroppedNames(const CString& listText, const std::vector<CString>& names, CStringArray& files);
