#include "SystemToolLocation.h"

#include "../platform/FileDialog.h"
#include "../platform/RegistryKey.h"
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
    RegistryKey key;
    CString root;
    if (key.Open(HKEY_LOCAL_MACHINE, kSdkRootKey, KEY_READ) != ERROR_SUCCESS ||
        key.QueryString(kSdkRootValue, root, static_cast<DWORD>(kSdkRootBufferBytes)) != ERROR_SUCCESS)
        return std::nullopt;
    return root;
}

std::optional<CString> PickSigningToolWithDialog()
{
    CFileDialog dialog(true, L"exe", L"signtool.exe", OFN_FILEMUSTEXIST, L"signtool.exe|signtool.exe||");
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}
