#include "platform/WinApp.h"

// The application object of the test program, as Quorlin.exe has its own: the profile, the busy cursor and
// message pumping go through it.
CWinApp theTestApplication;
