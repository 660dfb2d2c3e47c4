#include "Association.h"

#include "../platform/ApplicationName.h"
#include "../platform/UniqueHandle.h"
#include "CommandLine.h"

#include <windows.h>

namespace
{
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
    SetDefaultValue(CString(L"Software\\Classes\\") + kListFileExtension, kListFileProgId);
    SetDefaultValue(CString(L"Software\\Classes\\") + kListFileProgId + L"\\shell\\open\\command",
                    OpenCommandFor(ExecutablePath()));
}
