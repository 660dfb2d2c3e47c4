// A program of its own, whose manifest does not declare that it may use long paths: Windows then ends its
// paths at MAX_PATH whatever the machine allows, as it does for Quorlin on a machine that does not allow
// more.

#include "MessageBoxRecorder.h"
#include "PrintCString.h"
#include "TestFiles.h"
#include "listfile/ListFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
// A save makes files beside the list under names longer than most. Where paths end at MAX_PATH, it still
// works in a folder so deep that the list's own path just fits, and so does saving over that list.
TEST(ListFileOnDisk, ASaveWorksInEveryFolderWhereTheListsOwnPathFits)
{
    if (!MachineRefusesLongPaths())
        GTEST_SKIP()
            << "this process may use paths past MAX_PATH (under Wine, which has no such limit), so no "
               "name beside a list is too long";
    TempDirectory folder;
    // Windows makes a folder only where an 8.3 name still fits inside it: at most MAX_PATH - 12 characters.
    const std::wstring deep = folder.Path().wstring() + L"\\" +
                              std::wstring(MAX_PATH - 13 - folder.Path().wstring().size() - 1, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    const CString path = CString(deep + L"\\l.ksig");
    for (const CString& listText : {CString(L"C:\\first.exe"), CString(L"C:\\second.exe")})
    {
        MessageBoxRecorder boxes;
        SaveListFileAndReport(path, listText);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, CString(L"File saved successfully!"));
        EXPECT_EQ(ReadBytes(path.Str()), AnsiBytes(listText.Str()));
    }
    EXPECT_EQ(FolderContents(deep), std::vector<fs::path>{L"l.ksig"});
}
} // namespace
