#include "ApplicationName.h"

#include <windows.h>

#include <string>

CString ExecutablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
        {
            path.resize(length);
            return CString(std::move(path));
        }
        path.resize(path.size() * 2);
    }
}

CString AfxGetAppName()
{
    std::wstring name = ExecutablePath().Str();
    name.erase(0, name.find_last_of(L"\\/") + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return CString(std::move(name));
}
