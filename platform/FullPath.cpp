#include "FullPath.h"

CString ExtendedLengthPath(const CString& fullPath)
{
    const std::wstring& path = fullPath.Str();
    if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\"))
        return fullPath;
    if (path.starts_with(L"\\\\"))
        return CString(L"\\\\?\\UNC\\" + path.substr(2));
    // The extended form takes a name as it stands, never against the current folder: only a whole path goes
    // into it (a relative one is what a failed resolution leaves).
    const bool fromDriveRoot = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    if (!fromDriveRoot)
        return fullPath;
    return CString(L"\\\\?\\" + path);
}
