#include "FileDrop.h"

#include "../listfile/CommandLine.h"
#include "../signing/FileList.h"

std::optional<CString> FirstListFile(const std::vector<CString>& names)
{
    for (const CString& name : names)
        if (IsListFileName(name))
            return name;
    return std::nullopt;
}

CString AppendDroppedNames(const CString& listText, const std::vector<CString>& names, CStringArray& files)
{
    SplitFileList(listText, files);
    for (const CString& name : names)
        files.Add(name);
    return JoinFileList(files);
}
