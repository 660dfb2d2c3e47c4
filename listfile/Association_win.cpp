#include "Association.h"

#include "../platform/ExecutablePath.h"
#include "../platform/RegistryKey.h"
#include "ListFileType.h"

#include <windows.h>

#include <shlobj.h>

namespace
{
std::optional<CString> DefaultValue(const CString& keyPath)
{
    RegistryKey key;
    CString text;
    if (key.Open(HKEY_CURRENT_USER, keyPath, KEY_READ) != ERROR_SUCCESS ||
        key.QueryString(nullptr, text) != ERROR_SUCCESS)
        return std::nullopt;
    return text;
}

void SetDefaultValue(const CString& keyPath, const CString& value)
{
    RegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, keyPath) == ERROR_SUCCESS)
        key.SetDefaultValue(value);
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
