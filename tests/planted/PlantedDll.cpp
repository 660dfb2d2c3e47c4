// A DLL that a test plants beside a program: if it is ever loaded, its DllMain leaves a mark in the process's
// environment, and a file beside itself, named as it is with ".loaded" added, for a test in another process.

#include <windows.h>

#include <cwchar>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    SetEnvironmentVariableW(L"QUORLIN_PLANTED_DLL_LOADED", L"1");
    wchar_t mark[MAX_PATH + 8] = L"";
    const DWORD length = GetModuleFileNameW(instance, mark, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    std::wmemcpy(mark + length, L".loaded", 8);
    const HANDLE file =
        CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return TRUE;
}
