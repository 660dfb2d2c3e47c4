#pragma once

#include "SigningRun.h"

// The platform half of a signing run's host on Windows: the file system, the busy cursor, the message queue
// and the signing tool itself. The dialog that owns the run supplies the rest.
class SystemSigningRunHost : public SigningRunHost
{
  public:
    bool PathExists(const CString& path) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    std::optional<int> PumpPendingMessages() override;
    void PostQuit(int exitCode) override;
    bool SignOneFile(const CString& filePath, CString& output, const CString& toolPath) override;
};
