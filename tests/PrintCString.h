#pragma once

#include "platform/CString.h"

#include <cstdio>
#include <ostream>

// Lets GoogleTest show a CString in a failure: printable ASCII as it is, everything else as \x{hex}.
inline void PrintTo(const CString& text, std::ostream* out)
{
    *out << '"';
    for (const wchar_t c : text.Str())
    {
        if (c >= 0x20 && c < 0x7F)
            *out << static_cast<char>(c);
        else
        {
            char escaped[16];
            std::snprintf(escaped, sizeof(escaped), "\\x{%X}", static_cast<unsigned>(c));
            *out << escaped;
        }
    }
    *out << '"';
}
