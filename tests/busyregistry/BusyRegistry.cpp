// Writes to the registry outside the current user as Windows does on a live machine until it is ended: the
// Background Activity Moderator records in the machine's part every program that ends, and services keep the
// Local Settings of the default user's classes and make and remove keys deep below the machine's classes.
// tools/test runs it beside the suite under Wine, so that the tests meet a machine that other programs write
// to while they run.

#include <windows.h>

#include <cwchar>

namespace
{
HKEY CreateKey(HKEY root, const wchar_t* path)
{
    HKEY key = nullptr;
    RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                    nullptr, &key, nullptr);
    return key;
}
} // namespace

int wmain()
{
    const HKEY programs =
        CreateKey(HKEY_LOCAL_MACHINE,
                  L"SYSTEM\\CurrentControlSet\\Services\\bam\\State\\UserSettings\\S-1-5-21-0-0-0-1000");
    const HKEY localSettings =
        CreateKey(HKEY_USERS, L".DEFAULT\\Software\\Classes\\Local Settings\\MuiCache\\1\\52C64B7E");
    const HKEY policies = CreateKey(
        HKEY_LOCAL_MACHINE, L"Software\\Classes\\Local "
                            L"Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\PolicyCache");
    if (!programs || !localSettings || !policies)
        return 1;
    for (unsigned program = 0;; program = (program + 1) % 16)
    {
        wchar_t name[64];
        std::swprintf(name, 64, L"\\Device\\HarddiskVolume1\\Programs\\program%u.exe", program);
        FILETIME ended{};
        GetSystemTimeAsFileTime(&ended);
        RegSetValueExW(programs, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&ended), sizeof(ended));
        std::swprintf(name, 64, L"@%%SystemRoot%%\\system32\\program%u.dll,-100", program);
        RegSetValueExW(localSettings, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&ended),
                       sizeof(ended));
        std::swprintf(name, 64, L"Package%u", program);
        RegCloseKey(CreateKey(policies, name));
        RegDeleteKeyW(policies, name);
        Sleep(50);
    }
}
