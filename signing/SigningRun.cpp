#include "SigningRun.h"

#include "FileList.h"

namespace
{
bool ToolPathPassesChecks(SigningRunHost& host)
{
    const CString& toolPath = host.ToolPath();
    if (toolPath.IsEmpty())
    {
        host.ShowMessage(L"Error - no SignTool set");
        return false;
    }
    if (toolPath.Right(4).CompareNoCase(L".exe") != 0)
    {
        host.ShowMessage(L"The signtool file is not a valid .exe file.");
        return false;
    }
    if (!host.PathExists(toolPath))
    {
        host.ShowMessage(L"The signtool.exe does not exist or is not accessible.");
        return false;
    }
    return true;
}

class WaitCursor
{
  public:
    explicit WaitCursor(SigningRunHost& host) : m_host(host) { m_host.BeginWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { m_host.EndWaitCursor(); }

  private:
    SigningRunHost& m_host;
};

// Sign and Close stay disabled while a run lasts. A run that is left early (an exception from a tool's
// output, say) must still give them back, or the window could never be closed again.
class DisabledButtons
{
  public:
    explicit DisabledButtons(SigningRunHost& host) : m_host(host)
    {
        m_host.EnableControl(kSignButtonId, false);
        m_host.EnableControl(kCloseButtonId, false);
    }
    DisabledButtons(const DisabledButtons&) = delete;
    DisabledButtons& operator=(const DisabledButtons&) = delete;
    ~DisabledButtons()
    {
        if (m_disabled)
            Enable();
    }
    void Enable()
    {
        m_host.EnableControl(kSignButtonId, true);
        m_host.EnableControl(kCloseButtonId, true);
        m_disabled = false;
    }

  private:
    SigningRunHost& m_host;
    bool m_disabled = true;
};

// A quit request taken off the queue by the run's own pumping would otherwise be lost; it is posted again
// once the run is over, so the program still ends as it was asked to.
class QuitRequest
{
  public:
    explicit QuitRequest(SigningRunHost& host) : m_host(host) {}
    QuitRequest(const QuitRequest&) = delete;
    QuitRequest& operator=(const QuitRequest&) = delete;
    ~QuitRequest()
    {
        if (m_requested)
            m_host.PostQuit(m_exitCode);
    }
    void Pump()
    {
        const std::optional<int> exitCode = m_host.PumpPendingMessages();
        if (exitCode && !m_requested)
        {
            m_requested = true;
            m_exitCode = *exitCode;
        }
    }

  private:
    SigningRunHost& m_host;
    bool m_requested = false;
    int m_exitCode = 0;
};
} // namespace

void OnSign(SigningRunHost& host)
{
    if (!ToolPathPassesChecks(host))
        return;

    QuitRequest quit(host);
    DisabledButtons buttons(host);
    WaitCursor busy(host);
    host.PullControls();
    SplitFileList(host.FileListText(), host.Files());

    host.LogText() = L"Starting...\r\n";
    host.ShowLog();
    quit.Pump();
    for (std::ptrdiff_t index = 0; index < host.Files().GetSize(); ++index)
    {
        CString output;
        const CString filePath = host.Files().GetAt(index);
        host.SignOneFile(filePath, output, host.ToolPath());
        host.LogText() += output;
        host.LogText() += L"\r\n";
        host.ShowLog();
        quit.Pump();
    }
    buttons.Enable();
    host.LogText() += L"Finished!";
    host.ShowLog();
}
