#include "SigningRun.h"

#include "../platform/MessageBox.h"
#include "FileList.h"

namespace
{
bool ToolPathPassesChecks(SigningRunHost& host)
{
    const CString& toolPath = host.ToolPath();
    if (toolPath.IsEmpty())
    {
        AfxMessageBox(L"Error - no SignTool set");
        return false;
    }
    if (toolPath.Right(4).CompareNoCase(L".exe") != 0)
    {
        AfxMessageBox(L"The signtool file is not a valid .exe file.");
        return false;
    }
    if (!host.PathExists(toolPath))
    {
        AfxMessageBox(L"The signtool.exe does not exist or is not accessible.");
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

// The dialog is running from construction until End. A run that is left early (an exception from a tool's
// output, say) must still end it, or the window could never be closed again.
class Running
{
  public:
    explicit Running(SigningRunHost& host) : m_host(host) { m_host.SetRunning(true); }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    ~Running()
    {
        if (m_running)
            End();
    }
    void End()
    {
        m_host.SetRunning(false);
        m_running = false;
    }

  private:
    SigningRunHost& m_host;
    bool m_running = true;
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

void RunSigning(SigningRunHost& host)
{
    if (!ToolPathPassesChecks(host))
        return;

    QuitRequest quit(host);
    Running running(host);
    WaitCursor busy(host);
    host.PullControls();
    SplitFileList(host.FileListText(), host.Files());

    // The list is read afresh for every file, by an index that starts again when the list is replaced: an
    // index kept across a new list would skip its first entries.
    std::ptrdiff_t next = 0;
    const auto pumpAndFollowTheList = [&]
    {
        quit.Pump();
        if (host.TakeListReplaced())
            next = 0;
    };
    host.LogText() = L"Starting...\r\n";
    host.ShowLog();
    pumpAndFollowTheList();
    std::size_t done = 0;
    while (next < host.Files().GetSize())
    {
        host.ShowProgress(done, done + static_cast<std::size_t>(host.Files().GetSize() - next));
        CString output;
        const CString filePath = host.Files().GetAt(next++);
        host.SignOneFile(filePath, output, host.ToolPath());
        ++done;
        output += L"\r\n";
        host.AppendToLog(output);
        pumpAndFollowTheList();
    }
    running.End();
    host.AppendToLog(L"Finished!");
}
