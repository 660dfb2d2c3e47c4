// A DLL that a test plants beside its program: if it is ever loaded, its DllMain leaves a mark in the
// process's environment.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableW(L"QUORLIN_PLANTED_DLL_LOADED", L"1");
    return TRUE;
}
