#pragma once

#include "../platform/CString.h"
#include "../platform/CStringArray.h"

#include <optional>

// The Sign button and the hidden Close button, disabled while a run lasts.
inline constexpr int kSignButtonId = 1;
inline constexpr int kCloseButtonId = 2;

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

    // A modal box with the text, MB_OK and no icon.
    virtual void ShowMessage(const CString& text) = 0;
    // Whether the path names something that exists and can be reached.
    virtual bool PathExists(const CString& path) = 0;
    virtual void EnableControl(int id, bool enable) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Copies the controls' texts into the members.
    virtual void PullControls() = 0;
    // Sets the log control's whole text to the log member.
    virtual void ShowLog() = 0;
    // Dispatches every waiting message; gives the exit code of a quit request that it consumed.
    virtual std::optional<int> PumpPendingMessages() = 0;
    virtual void PostQuit(int exitCode) = 0;
    virtual bool SignOneFile(const CString& filePath, CString& output, const CString& toolPath) = 0;
};

// The Sign button: checks the tool path, signs every listed file in order and builds the log file by file.
void OnSign(SigningRunHost& host);
