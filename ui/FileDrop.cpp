#include "FileDrop.h"

#include "../listfile/ListFileType.h"
#include "../signing/FileList.h"

std::optional<CString> FirstListFile(const std::vector<CString>& names)
{
    for (const CString& name : names)
        if (IsListFileName(name))
            return name;
    return std::nullopt;
}

CString AppendDroppedNames(CStringArray& files, const std::vector<CString>& names)
{
    for (const CString& name : names)
        files.Add(name);
    return JoinFileList(files);
}
