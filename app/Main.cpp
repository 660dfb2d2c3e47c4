#include "../platform/DllSearch.h"
#include "../platform/WinApp.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showCommand)
{
    // Before anything can load a DLL: the common controls, COM, the shell and the file dialogs all do.
    RestrictDllSearchToSystem32();
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
