#pragma once

#include "../platform/CString.h"

#include <string>

// What running a tool hidden gave: either it could not be started (the failing step and the system's error
// code), or it ran, has ended, and this is every byte it wrote to standard output and standard error.
struct ToolRun
{
    enum class Failure
    {
        None,
        PipeNotCreated,
        ToolNotStarted
    };
    Failure failure = Failure::None;
    unsigned long errorCode = 0;
    std::string output;
};

// Runs commandLine without a window and without standard input, its standard output and standard error
// joined in one pipe, and returns once the child has ended. The pipe is drained while the child runs, so a
// tool that prints more than the pipe holds cannot stall.
ToolRun RunToolCapturingOutput(CString commandLine);

// The captured bytes as text: NUL bytes are dropped on their own and the rest is decoded as one stream, so
// no multi-byte character depends on where a read happened to end.
CString DecodeToolOutput(std::string bytes, unsigned codePage);
