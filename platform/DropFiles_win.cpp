#include "DropFiles.h"

#include <string>

std::vector<CString> DroppedFileNames(HDROP drop)
{
    std::vector<CString> names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index)
    {
        // The length is asked first: DragQueryFileW cuts a name to the buffer it is given.
        const UINT length = DragQueryFileW(drop, index, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, index, name.data(), length + 1);
        if (copied == 0)
            continue;
        name.resize(copied);
        names.emplace_back(std::move(name));
    }
    return names;
}
