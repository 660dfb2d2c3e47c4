#include "CodePage.h"

std::wstring WideFromAnsi(std::string_view bytes)
{
    std::wstring wide;
    wide.reserve(bytes.size());
    for (const char byte : bytes)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return wide;
}
