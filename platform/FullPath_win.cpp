#include "FullPath.h"

#include <windows.h>

#include <string>

CString FullPath(const CString& path)
{
    const DWORD needed = GetFullPathNameW(path.Str().c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    full.resize(GetFullPathNameW(path.Str().c_str(), needed, full.data(), nullptr));
    return full.empty() ? path : CString(std::move(full));
}
