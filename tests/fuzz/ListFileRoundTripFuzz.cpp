// Saving any list text and loading it back gives the same file list, and a program-made list text (the
// join of a list) comes back exactly. A text that holds Ctrl+Z (U+001A), NUL or a lone surrogate fails its
// save: reading ends at Ctrl+Z, as it did for every earlier version's files, and drops NUL, and UTF-8 has no
// form for a lone surrogate.

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
    const std::optional<std::string> saved = SavedBytes(listText);
    if (!saved)
        return 0;
    if (Split(JoinFileList(ListFileLines(*saved))) != Split(listText))
        std::abort();

    CStringArray files;
    SplitFileList(listText, files);
    const CString programMade = JoinFileList(files);
    if (JoinFileList(ListFileLines(SavedBytes(programMade).value())) != programMade)
        std::abort();
    return 0;
}
