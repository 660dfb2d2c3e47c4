#include "SystemToolLocation.h"

#include "../platform/FileDialog.h"
#include "../platform/UniqueHandle.h"
#include "../platform/WinApp.h"

#include <shlwapi.h>
#include <windows.h>

CString SystemToolLocation::ReadProfile(const wchar_t* section, const wchar_t* entry,
                                        const wchar_t* defaultValue)
{
    return AfxGetApp() ? AfxGetApp()->GetProfileString(section, entry, defaultValue) : CString(defaultValue);
}

void SystemToolLocation::WriteProfile(const wchar_t* section, const wchar_t* entry, const CString& value)
{
    if (AfxGetApp())
        AfxGetApp()->WriteProfileString(section, entry, value);
}

bool SystemToolLocation::FileExists(const CString& path)
{
    return PathFileExistsW(path) != FALSE;
}

std::optional<CString> SystemToolLocation::ReadSdkRoot()
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSdkRootKey, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    UniqueHkey key(opened);
    char16_t root[kSdkRootBufferBytes / sizeof(char16_t)] = {};
    DWORD size = sizeof(root);
    if (RegQueryValueExW(key.Get(), kSdkRootValue, nullptr, nullptr, reinterpret_cast<BYTE*>(root), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return RegistryText(root, size);
}

std::optional<CString> PickSigningToolWithDialog()
{
    CFileDialog dialog(true, L"exe", L"signtool.exe", OFN_FILEMUSTEXIST, L"signtool.exe|signtool.exe||");
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}
