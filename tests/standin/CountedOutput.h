#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The first count bytes of the lines "0000000\n", "0000001\n", ...: output whose order can be checked.
inline std::string CountedOutput(std::size_t count)
{
    std::string text;
    text.reserve(count + 8);
    char line[16];
    for (unsigned n = 0; text.size() < count; ++n)
    {
        std::snprintf(line, sizeof(line), "%07u\n", n);
        text += line;
    }
    text.resize(count);
    return text;
}
