#pragma once

#include "platform/CString.h"

#include <windows.h>

#include <filesystem>
#include <string>

// Seconds on a monotonic clock.
inline double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The stand-in tool beside this program, under the name a signing run expects.
std::filesystem::path StandinTool();

// The baseline the program is measured against: start the tool with the same command line, drain its pipe
// into a buffer that is thrown away, wait for it, close everything. Returns the bytes drained.
std::size_t BareToolRun(const CString& commandLine);
