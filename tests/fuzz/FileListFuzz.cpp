// Splitting and joining the file list: any text splits into entries that are never empty and hold no line
// break, and splitting the join of a split gives the same list.

#include "FuzzText.h"
#include "signing/FileList.h"

#include <cstdlib>
#include <vector>

namespace
{
std::vector<CString> Entries(const CStringArray& files)
{
    return {files.begin(), files.end()};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CString text = TextFromFuzzBytes(data, size);
    CStringArray files;
    SplitFileList(text, files);
    for (const CString& entry : files)
        if (entry.IsEmpty() || entry.Str().find_first_of(L"\r\n") != std::wstring::npos)
            std::abort();

    const CString joined = JoinFileList(files);
    CStringArray again;
    SplitFileList(joined, again);
    if (Entries(again) != Entries(files))
        std::abort();
    if (JoinFileList(again) != joined)
        std::abort();
    return 0;
}
