#include "ListFileType.h"

bool IsListFileName(const CString& path)
{
    return path.Right(5).CompareNoCase(kListFileExtension) == 0;
}

CString ListFileFromCommandLine(int argc, const wchar_t* const* argv)
{
    if (argc > 1 && argv && argv[1] && IsListFileName(argv[1]))
        return argv[1];
    return CString();
}

CString OpenCommandFor(const CString& executablePath)
{
    CString command;
    command.Format(L"\"%s\" \"%%1\"", executablePath);
    return command;
}
