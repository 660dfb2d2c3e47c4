#pragma once

#include <windows.h>

#include <functional>

// Polls until the condition holds, for at most the given time; whether it came to hold.
inline bool Eventually(const std::function<bool()>& condition, DWORD milliseconds = 20000)
{
    for (DWORD waited = 0; waited <= milliseconds; waited += 20)
    {
        if (condition())
            return true;
        Sleep(20);
    }
    return false;
}
