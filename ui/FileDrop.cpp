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

CString AppendDroppedNames(const CString& shownList, const std::vector<CString>& names, CStringArray& files,
                           bool runWalksFiles)
{
    CStringArray shown;
    SplitFileList(shownList, shown);
    for (const CString& name : names)
    {
        shown.Add(name);
        if (runWalksFiles)
            files.Add(name);
    }
    if (!runWalksFiles)
        files = shown;
    return JoinFileList(shown);
}
