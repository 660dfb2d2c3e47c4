#include "RegistryText.h"

#include <string>

CString RegistryText(const char16_t* data, std::size_t dataBytes)
{
    const std::size_t units = dataBytes / 2;
    std::wstring text;
    for (std::size_t i = 0; i < units && data[i] != u'\0'; ++i)
        text += static_cast<wchar_t>(data[i]);
    return CString(std::move(text));
}
