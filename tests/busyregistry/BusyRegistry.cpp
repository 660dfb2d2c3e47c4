// Writes to the machine's part of the registry as Windows' Background Activity Moderator does on a live
// machine, where it records there every program that ends, until it is ended. tools/test runs it beside the
// suite under Wine, so that the tests meet a machine that other programs write to while they run.

#include <windows.h>

#include <cwchar>

int wmain()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                        L"SYSTEM\\CurrentControlSet\\Services\\bam\\State\\UserSettings\\S-1-5-21-0-0-0-1000",
                        0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    for (unsigned program = 0;; program = (program + 1) % 16)
    {
        wchar_t name[64];
        std::swprintf(name, 64, L"\\Device\\HarddiskVolume1\\Programs\\program%u.exe", program);
        FILETIME ended{};
        GetSystemTimeAsFileTime(&ended);
        RegSetValueExW(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&ended), sizeof(ended));
        Sleep(50);
    }
}
