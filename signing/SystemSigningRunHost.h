#pragma once

#include "SigningRun.h"

// The platform half of a signing run's host on Windows: message boxes, the file system, the busy cursor,
// the message queue and the signing tool itself. The dialog that owns the run supplies the rest.
class SystemSigningRunHost : public SigningRunHost
{
  public:
    void ShowMessage(const CString& text) override;
    bool PathExists(const CString& path) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    std::optional<int> PumpPendingMessages() override;
    void PostQuit(int exitCode) override;
    bool SignOneFile(const CString& filePath, CString& output, const CString& toolPath) override;
};
