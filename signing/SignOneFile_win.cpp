#include "SignOneFile.h"

#include "../platform/MessageBox.h"
#include "SigningCommandLine.h"
#include "ToolProcess.h"

#include <windows.h>

bool SignOneFile(const CString& filePath, CString& output, const CString& toolPath)
{
    ToolRun run = RunToolCapturingOutput(BuildSigningCommandLine(toolPath, filePath));
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
