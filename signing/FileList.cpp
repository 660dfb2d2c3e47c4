#include "FileList.h"

void SplitFileList(const CString& listText, CStringArray& files)
{
    files.SetSize(0);
    int position = 0;
    for (CString entry = listText.Tokenize(L"\r\n", position); !entry.IsEmpty();
         entry = listText.Tokenize(L"\r\n", position))
        files.SetAtGrow(files.GetSize(), entry);
}

CString JoinFileList(const CStringArray& entries)
{
    CString text;
    for (const CString& entry : entries)
    {
        if (!text.IsEmpty())
            text += L"\r\n";
        text += entry;
    }
    return text;
}
