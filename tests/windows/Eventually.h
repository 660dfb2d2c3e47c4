#pragma once

#include <windows.h>

#include <functional>

// Polls until the condition holds, for at most the given time; whether it came to hold. What a window does in
// answer to a message takes milliseconds, a program's start or a stand-in's run of a few files a second or
// two on a busy machine: ten seconds by default, and a wait for a longer event says how long it may take.
inline bool Eventually(const std::function<bool()>& condition, DWORD milliseconds = 10000)
{
    for (DWORD waited = 0; waited <= milliseconds; waited += 20)
    {
        if (condition())
            return true;
        Sleep(20);
    }
    return false;
}
