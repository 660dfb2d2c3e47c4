#include "Association.h"

#include "../platform/ApplicationName.h"
#include "../platform/UniqueHandle.h"
#include "CommandLine.h"

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace
{
std::optional<CString> DefaultValue(const CString& keyPath)
{
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath, nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath, nullptr, RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(std::wcslen(text.c_str()));
    return CString(std::move(text));
}

void SetDefaultValue(const CString& keyPath, const CString& value)
{
    HKEY created = nullptr;
    if (RegCreateKeyW(HKEY_CURRENT_USER, keyPath, &created) != ERROR_SUCCESS)
        return;
    UniqueHkey key(created);
    RegSetValueW(key.Get(), nullptr, REG_SZ, value, static_cast<DWORD>(value.GetLength() * sizeof(wchar_t)));
}
} // namespace

void RegisterListFileType()
{
    const CString extensionKey = CString(L"Software\\Classes\\") + kListFileExtension;
    const CString commandKey = CString(L"Software\\Classes\\") + kListFileProgId + L"\\shell\\open\\command";
    const CString openCommand = OpenCommandFor(ExecutablePath());
    const bool changes =
        AssociationChanges({DefaultValue(extensionKey), DefaultValue(commandKey)}, openCommand);
    SetDefaultValue(extensionKey, kListFileProgId);
    SetDefaultValue(commandKey, openCommand);
    if (changes)
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
