#include "MessageBox.h"

#include "WinApp.h"

#include <windows.h>

int ShowMessageBox(const CString& text, unsigned type)
{
    // MessageBoxW disables the owner while the box is up and enables it again after.
    return MessageBoxW(DefaultModalOwner(), text, AfxGetAppName(), type);
}
