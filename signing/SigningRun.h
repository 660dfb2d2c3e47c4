#pragma once

#include "../platform/CString.h"
#include "../platform/CStringArray.h"

#include <cstddef>
#include <optional>

// What a signing run needs of the dialog that owns it and of the platform. The run reads the members afresh
// at every step, so a handler that runs while messages are pumped changes what the run does next.
class SigningRunHost
{
  public:
    virtual ~SigningRunHost() = default;

    virtual CString& ToolPath() = 0;
    virtual CString& FileListText() = 0;
    virtual CStringArray& Files() = 0;
    virtual CString& LogText() = 0;

    // Whether the path names something that exists and can be reached.
    virtual bool PathExists(const CString& path) = 0;
    // While a run lasts, Sign cannot start another and the window cannot be closed: Sign, then Close, are
    // disabled, and afterwards enabled again in the same order.
    virtual void SetRunning(bool running) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Copies the controls' texts into the members.
    virtual void PullControls() = 0;
    // Sets the log control's whole text to the log member: the log starts afresh.
    virtual void ShowLog() = 0;
    // Adds part to the end of the log member and shows it, giving the control only the part: a long run's
    // log would cost more to show with every file if the control took the whole text each time.
    virtual void AppendToLog(const CString& part) = 0;
    // Dispatches every waiting message; gives the exit code of a quit request that it consumed.
    virtual std::optional<int> PumpPendingMessages() = 0;
    // Whether the file list was replaced (a list file loaded, Clear) since the run last asked: the run then
    // goes on with the new list from its first entry. Names added to the list replace nothing.
    virtual bool TakeListReplaced() = 0;
    // How far the run is: files signed, out of those and the ones still to sign.
    virtual void ShowProgress(std::size_t done, std::size_t total) = 0;
    virtual void PostQuit(int exitCode) = 0;
    virtual bool SignOneFile(const CString& filePath, CString& output, const CString& toolPath) = 0;
};

// What the Sign button does: checks the tool path (a failed check is told in a message box), signs every
// listed file in order and builds the log file by file. A list replaced during the run is signed from its
// first entry after the current file; names added to it are reached at its end.
void RunSigning(SigningRunHost& host);
