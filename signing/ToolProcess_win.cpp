#include "ToolProcess.h"

#include "../platform/CodePage.h"
#include "../platform/UniqueHandle.h"

#include <algorithm>
#include <vector>

ToolRun RunToolCapturingOutput(CString commandLine)
{
    ToolRun run;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandle reader;
    UniqueHandle writer;
    if (!CreatePipe(reader.Put(), writer.Put(), &inheritable, 0))
    {
        run.failure = ToolRun::Failure::PipeNotCreated;
        run.errorCode = GetLastError();
        return run;
    }
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.Get();
    startup.hStdError = writer.Get();
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, commandLine.GetBuffer(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    const DWORD startError = started ? ERROR_SUCCESS : GetLastError();
    // Once only the child holds a write end, the pipe reports its end when the child has ended.
    writer.Close();
    if (!started)
    {
        run.failure = ToolRun::Failure::ToolNotStarted;
        run.errorCode = startError;
        return run;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);

    // Reads of 64 KiB: each read is a system call, and a tool may print megabytes.
    std::vector<char> buffer(64 * 1024);
    DWORD bytesRead = 0;
    while (ReadFile(reader.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &bytesRead, nullptr) &&
           bytesRead > 0)
        run.output.append(buffer.data(), bytesRead);
    WaitForSingleObject(processHandle.Get(), INFINITE);
    return run;
}

CString DecodeToolOutput(std::string bytes, unsigned codePage)
{
    std::erase(bytes, '\0');
    // Every Windows code page reads bytes below 0x80 as ASCII, so text made only of them needs no table.
    if (std::all_of(bytes.begin(), bytes.end(), [](char byte) { return (byte & 0x80) == 0; }))
        return CString(std::wstring(bytes.begin(), bytes.end()));
    return CString(WideFromCodePage(bytes, codePage));
}
