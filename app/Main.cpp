#include <windows.h>

// The program's entry. The main dialog is not built yet; until it is, Quorlin.exe starts and ends at once.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return 0;
}
