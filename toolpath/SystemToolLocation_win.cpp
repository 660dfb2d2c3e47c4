#include "SystemToolLocation.h"

#include "../platform/FileDialog.h"
#include "../platform/RegistryKey.h"
#include "../platform/UniqueHandle.h"
#include "../platform/WinApp.h"

#include <shlwapi.h>
#include <windows.h>

#include <string>

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

std::optional<CString> SystemToolLocation::ReadSdkRoot(RegistryView view)
{
    RegistryKey key;
    CString root;
    const REGSAM viewFlag = view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    if (key.Open(HKEY_LOCAL_MACHINE, kSdkRootKey, KEY_READ | viewFlag) != ERROR_SUCCESS ||
        key.QueryString(kSdkRootValue, root, static_cast<DWORD>(kSdkRootBufferBytes)) != ERROR_SUCCESS)
        return std::nullopt;
    return root;
}

std::vector<CString> SystemToolLocation::FolderNames(const CString& folder)
{
    std::vector<CString> names;
    WIN32_FIND_DATAW found{};
    const UniqueFind search(FindFirstFileExW((folder + L"\\*").Str().c_str(), FindExInfoBasic, &found,
                                             FindExSearchLimitToDirectories, nullptr, 0));
    if (!search)
        return names;
    do
    {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            names.emplace_back(name);
    } while (FindNextFileW(search.Get(), &found));
    return names;
}

std::optional<CString> PickSigningToolWithDialog()
{
    CFileDialog dialog(true, L"exe", L"signtool.exe", OFN_FILEMUSTEXIST, L"signtool.exe|signtool.exe||");
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}
