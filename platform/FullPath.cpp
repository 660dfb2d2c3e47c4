#include "FullPath.h"

CString ExtendedLengthPath(const CString& fullPath)
{
    const std::wstring& path = fullPath.Str();
    if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\"))
        return fullPath;
    if (path.starts_with(L"\\\\"))
        return CString(L"\\\\?\\UNC\\" + path.substr(2));
    return CString(L"\\\\?\\" + path);
}
