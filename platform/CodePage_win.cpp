#include "CodePage.h"

#include <windows.h>

#include <algorithm>
#include <climits>

std::wstring WideFromCodePage(std::string_view bytes, unsigned codePage)
{
    // The conversion counts in int; text beyond 2 GiB is more than any edit control could show anyway.
    const int count = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    if (count == 0)
        return {};
    // No code page makes more characters than bytes, so one pass into a buffer of that size is enough.
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    const int made = MultiByteToWideChar(codePage, 0, bytes.data(), count, wide.data(), count);
    wide.resize(static_cast<std::size_t>(std::max(made, 0)));
    return wide;
}

std::wstring WideFromAnsi(std::string_view bytes)
{
    return WideFromCodePage(bytes, CP_ACP);
}

std::optional<std::string> AnsiFromWide(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), needed, nullptr, nullptr);
    // A character without a form of its own comes out as '?' or a look-alike; only a round trip tells.
    if (WideFromAnsi(bytes) != text)
        return std::nullopt;
    return bytes;
}
