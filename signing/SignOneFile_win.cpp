#include "SignOneFile.h"

#include "../platform/FullPath.h"
#include "../platform/MessageBox.h"
#include "SigningCommandLine.h"
#include "ToolProcess.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace
{
// The full path that a line of the list names, made whole against the current folder with / and \ alike as
// Windows reads a path (Wine alone would take a leading / for the root of its Unix file system).
CString FileAsFullPath(const CString& filePath)
{
    std::wstring windowsPath = filePath.Str();
    std::replace(windowsPath.begin(), windowsPath.end(), L'/', L'\\');
    return FullPath(CString(std::move(windowsPath)));
}
} // namespace

bool SignOneFile(const CString& filePath, CString& output, const CString& toolPath)
{
    // The tool path is made whole where the run's check before the start found it: given a bare name, Windows
    // would look for the program beside Quorlin.exe (in Downloads, say) before the current folder; given a
    // full path, it starts that file and searches nowhere. A line of the list that the tool would take for an
    // option (/builds/app.exe from the root of the current drive, -draft.exe, or /debug slipped into someone
    // else's list) goes to it as the full path it names, so that it is looked for as a file.
    const CString file = LooksLikeAnOption(filePath) ? FileAsFullPath(filePath) : filePath;
    ToolRun run = RunToolCapturingOutput(BuildSigningCommandLine(FullPath(toolPath), file));
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
