// Saving any list text and loading it back gives the same file list, and a program-made list text (the
// join of a list) comes back exactly. A text that holds Ctrl+Z (U+001A) or NUL is left out: reading ends at
// Ctrl+Z, as it did for every earlier version's files, and drops NUL; no edit control holds either.

#include "FuzzText.h"
#include "listfile/ListFileFormat.h"
#include "signing/FileList.h"

#include <cstdlib>
#include <vector>

namespace
{
std::vector<CString> Split(const CString& text)
{
    CStringArray files;
    SplitFileList(text, files);
    return {files.begin(), files.end()};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CString listText = TextFromFuzzBytes(data, size);
    if (listText.Str().find_first_of(std::wstring(L"\x1A\0", 2)) != std::wstring::npos)
        return 0;
    const CString loaded = JoinFileList(ListFileLines(SavedBytes(listText)));
    if (Split(loaded) != Split(listText))
        std::abort();

    CStringArray files;
    SplitFileList(listText, files);
    const CString programMade = JoinFileList(files);
    if (JoinFileList(ListFileLines(SavedBytes(programMade))) != programMade)
        std::abort();
    return 0;
}
