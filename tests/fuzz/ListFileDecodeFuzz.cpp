// Reading list-file bytes of any kind, 8-bit or UTF-16: no crash, no line holds a line feed or a NUL, and
// nothing past a Ctrl+Z is read. What is read comes out of a save and a second read as the same file list,
// unless it holds a lone surrogate, which no save may write.

#include "FuzzText.h"
#include "listfile/ListFileFormat.h"
#include "signing/FileList.h"

#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CStringArray lines = ListFileLines(bytes);
    for (const CString& line : lines)
        if (line.Str().find_first_of(std::wstring(L"\n\x1A\0", 3)) != std::wstring::npos)
            std::abort();

    const std::optional<std::string> saved = SavedBytes(JoinFileList(lines));
    if (!saved)
        return 0;
    CStringArray files;
    SplitFileList(JoinFileList(lines), files);
    CStringArray reread;
    SplitFileList(JoinFileList(ListFileLines(*saved)), reread);
    if (std::vector<CString>(files.begin(), files.end()) !=
        std::vector<CString>(reread.begin(), reread.end()))
        std::abort();
    return 0;
}
