#include "SignOneFile.h"

#include "../platform/MessageBox.h"
#include "SigningCommandLine.h"
#include "ToolProcess.h"

#include <windows.h>

namespace
{
// The path made whole against the current folder, where the run's check before the start found the tool.
// Given a bare name, Windows would look for the program beside Quorlin.exe (in Downloads, say) before the
// current folder; given a full path, it starts that file and searches nowhere.
CString FullPath(const CString& path)
{
    const DWORD needed = GetFullPathNameW(path.Str().c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    full.resize(GetFullPathNameW(path.Str().c_str(), needed, full.data(), nullptr));
    return full.empty() ? path : CString(std::move(full));
}
} // namespace

bool SignOneFile(const CString& filePath, CString& output, const CString& toolPath)
{
    ToolRun run = RunToolCapturingOutput(BuildSigningCommandLine(FullPath(toolPath), filePath));
    switch (run.failure)
    {
    case ToolRun::Failure::PipeNotCreated:
        AfxMessageBox(L"Failed to create pipe for output capture.", MB_OK);
        return false;
    case ToolRun::Failure::ToolNotStarted:
    {
        CString message;
        message.Format(L"Failed to execute signtool.exe. Error code: %lu", run.errorCode);
        AfxMessageBox(message, MB_OK);
        return false;
    }
    case ToolRun::Failure::None:
        break;
    }
    output = DecodeToolOutput(std::move(run.output), CP_ACP);
    return true;
}
