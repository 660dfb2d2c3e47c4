#include "ExecutablePath.h"

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
