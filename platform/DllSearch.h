#pragma once

#include <windows.h>

// Quorlin is a downloaded program, started from folders anyone can write to, such as Downloads, where a web
// page can leave a file named like a Windows DLL. Windows looks in the program's own folder first for a DLL
// asked for by name, by our code or by Windows' own on our behalf; after this call, for the rest of the
// process, only System32 is searched. Windows 10 and 11 always have the call, and if it ever failed there
// would be nothing better to do, so its result is not read.
inline void RestrictDllSearchToSystem32()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
