#include "SystemSigningRunHost.h"

#include "../platform/WinApp.h"
#include "SignOneFile.h"

#include <windows.h>

bool SystemSigningRunHost::PathExists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

void SystemSigningRunHost::BeginWaitCursor()
{
    AfxGetApp()->BeginWaitCursor();
}

void SystemSigningRunHost::EndWaitCursor()
{
    AfxGetApp()->EndWaitCursor();
}

std::optional<int> SystemSigningRunHost::PumpPendingMessages()
{
    MSG waiting;
    while (PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE))
        if (!AfxGetApp()->PumpMessage())
            return static_cast<int>(AfxGetApp()->CurrentMessage().wParam);
    return std::nullopt;
}

void SystemSigningRunHost::PostQuit(int exitCode)
{
    PostQuitMessage(exitCode);
}

bool SystemSigningRunHost::SignOneFile(const CString& filePath, CString& output, const CString& toolPath)
{
    return ::SignOneFile(filePath, output, toolPath);
}
