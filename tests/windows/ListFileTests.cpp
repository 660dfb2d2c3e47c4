#include "MessageBoxRecorder.h"
#include "PrintCString.h"
#include "TestFiles.h"
#include "listfile/ListFile.h"
#include "platform/FileException.h"
#include "platform/UniqueHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
std::vector<CString> Entries(const CStringArray& files)
{
    return {files.begin(), files.end()};
}

TEST(ListFileOnDisk, ASavedListLoadsBackAsTheSameListText)
{
    TempDirectory folder;
    const CString path = CString((folder / L"release list.ksig").wstring());
    const CString listText = L"C:\\Build\\app.exe\r\nC:\\Build\\caf\u00E9.dll\r\nD:\\\u65E5\u672C\\setup.exe";
    SaveListFile(path, listText);

    CString loaded = L"before";
    CStringArray files;
    ReadListFile(path, loaded, files);
    EXPECT_EQ(loaded, listText);
    EXPECT_EQ(Entries(files), (std::vector<CString>{L"C:\\Build\\app.exe", L"C:\\Build\\caf\u00E9.dll",
                                                    L"D:\\\u65E5\u672C\\setup.exe"}));
    EXPECT_EQ(FolderContents(folder.Path()), std::vector<fs::path>{L"release list.ksig"})
        << "no temporary file left";
}

TEST(ListFileOnDisk, SavingWritesOneCrLfPerLineBreakAndReplacesAnOlderFile)
{
    TempDirectory folder;
    const fs::path path = folder / L"list.ksig";
    WriteBytes(path, "an older, longer list that must go entirely");
    constexpr DWORD kAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), kAttributes));
    SaveListFile(CString(path.wstring()), L"A\r\nB");
    EXPECT_EQ(ReadBytes(path), "A\r\nB");
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE, kAttributes)
        << "the list keeps the attributes its owner gave it";
    SaveListFile(CString(path.wstring()), L"");
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(FolderContents(folder.Path()), std::vector<fs::path>{L"list.ksig"})
        << "nothing set aside is left";
}

// In a shared folder another user, or a link to another of the user's files, may lie beside a list under a
// name that a save could take for its scratch file, such as the process id and counter that earlier versions
// used. A save writes through none of them and leaves each where it was.
TEST(ListFileOnDisk, FilesLyingUnderNamesASaveCouldChooseKeepTheirBytes)
{
    TempDirectory folder;
    const fs::path diary = folder / L"diary.txt";
    WriteBytes(diary, "not a list");
    const fs::path path = folder / L"list.ksig";
    WriteBytes(path, "C:\\old.exe");
    for (unsigned counter = 0; counter < 256; ++counter)
    {
        const std::wstring name =
            L"~quorlin-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter) + L".tmp";
        ASSERT_TRUE(CreateHardLinkW((folder / name).c_str(), diary.c_str(), nullptr));
    }
    const std::vector<fs::path> before = FolderContents(folder.Path());

    SaveListFile(CString(path.wstring()), L"C:\\new.exe");

    EXPECT_EQ(ReadBytes(path), "C:\\new.exe");
    EXPECT_EQ(ReadBytes(diary), "not a list");
    EXPECT_EQ(FolderContents(folder.Path()), before);
}

TEST(ListFileOnDisk, AReplaceThatFailsKeepsTheOldBytes)
{
    // Windows refuses a read-only list before anything is written. Wine run as root lets it be opened for
    // writing, and it is the replacing of the file that fails.
    TempDirectory folder;
    const fs::path path = folder / L"kept.ksig";
    WriteBytes(path, "C:\\kept.exe");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    MessageBoxRecorder boxes;
    SaveListFileAndReport(CString(path.wstring()), L"C:\\new.exe");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.Str().starts_with(L"Failed to save the file. Error code: "));
    EXPECT_EQ(ReadBytes(path), "C:\\kept.exe");
    EXPECT_EQ(FolderContents(folder.Path()), std::vector<fs::path>{L"kept.ksig"});
}

TEST(ListFileOnDisk, LoadingSomethingUnreadableChangesNothing)
{
    TempDirectory folder;
    fs::create_directories(folder / L"folder.ksig");
    for (const CString& path : {CString(L""), CString((folder / L"missing.ksig").wstring()),
                                CString((folder / L"folder.ksig").wstring())})
    {
        CString listText = L"kept";
        CStringArray files;
        files.Add(L"kept");
        ReadListFile(path, listText, files);
        EXPECT_EQ(listText, CString(L"kept")) << ::testing::PrintToString(path);
        EXPECT_EQ(Entries(files), std::vector<CString>{L"kept"});
    }
}

TEST(ListFileOnDisk, LoadingAnEarlierVersionsFileKeepsItsCarriageReturnsButNotItsEntries)
{
    TempDirectory folder;
    const fs::path path = folder / L"old.ksig";
    WriteBytes(path, "A\r\r\nB\x1A trailing junk");
    CString listText;
    CStringArray files;
    ReadListFile(CString(path.wstring()), listText, files);
    EXPECT_EQ(listText, CString(L"A\r\r\nB"));
    EXPECT_EQ(Entries(files), (std::vector<CString>{L"A", L"B"}));
}

struct SaveFailure
{
    const char* name;
    std::function<CString(const TempDirectory&)> target;
    int cause;
    CString listText = L"A\r\nB";
};

TEST(ListFileOnDisk, AFailedSaveReportsItsCauseAndKeepsTheFileThatWasThere)
{
    std::vector<SaveFailure> cases = {
        {"a folder that does not exist",
         [](const TempDirectory& folder)
         { return CString((folder / L"no such folder\\list.ksig").wstring()); },
         CFileException::badPath},
        {"a folder in the target's place",
         [](const TempDirectory& folder)
         {
             fs::create_directories(folder / L"taken.ksig");
             return CString((folder / L"taken.ksig").wstring());
         },
         CFileException::accessDenied},
        // A paste, or another program's WM_SETTEXT, can put Ctrl+Z into the list; reading would end there.
        {"a list that no bytes give back",
         [](const TempDirectory& folder)
         {
             WriteBytes(folder / L"kept.ksig", "C:\\kept.exe");
             return CString((folder / L"kept.ksig").wstring());
         },
         CFileException::genericException, L"C:\\a.exe\x1A\r\nC:\\b.exe"},
    };
    for (const SaveFailure& c : cases)
    {
        TempDirectory folder;
        const CString target = c.target(folder);
        const auto before = FolderContents(folder.Path());
        const std::string bytesBefore = fs::is_regular_file(target.Str()) ? ReadBytes(target.Str()) : "";
        MessageBoxRecorder boxes;
        SaveListFileAndReport(target, c.listText);
        ASSERT_EQ(boxes.Boxes().size(), 1u) << c.name;
        CString expected;
        expected.Format(L"Failed to save the file. Error code: %d", c.cause);
        EXPECT_EQ(boxes.Boxes()[0].text, expected) << c.name;
        EXPECT_EQ(boxes.Boxes()[0].type, static_cast<unsigned>(MB_ICONERROR)) << c.name;
        EXPECT_EQ(FolderContents(folder.Path()), before) << c.name << ": nothing added or removed";
        if (fs::is_regular_file(target.Str()))
        {
            EXPECT_EQ(ReadBytes(target.Str()), bytesBefore) << c.name;
        }
    }
}

TEST(ListFileOnDisk, AListFileHeldOpenByAnotherProgramKeepsItsBytes)
{
    TempDirectory folder;
    const fs::path path = folder / L"busy.ksig";
    WriteBytes(path, "C:\\kept.exe");
    UniqueHfile holder(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    MessageBoxRecorder boxes;
    SaveListFileAndReport(CString(path.wstring()), L"C:\\new.exe");
    holder.Close();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, CString(L"Failed to save the file. Error code: 11"));
    EXPECT_EQ(ReadBytes(path), "C:\\kept.exe");
    EXPECT_EQ(FolderContents(folder.Path()), std::vector<fs::path>{L"busy.ksig"});
}

TEST(ListFileOnDisk, ASuccessfulSaveSaysSoWithTheInformationIcon)
{
    TempDirectory folder;
    MessageBoxRecorder boxes;
    SaveListFileAndReport(CString((folder / L"ok.ksig").wstring()), L"");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, CString(L"File saved successfully!"));
    EXPECT_EQ(boxes.Boxes()[0].type, static_cast<unsigned>(MB_ICONINFORMATION));
    EXPECT_EQ(ReadBytes(folder / L"ok.ksig"), "");
}

// tools/test mounts a small, filled file system when it may, and names its folder here as a Unix path.
TEST(ListFileOnDisk, AWriteThatFailsOnAFullDiskReportsDiskFullAndKeepsTheOldFile)
{
    wchar_t full[MAX_PATH] = L"";
    const DWORD length = GetEnvironmentVariableW(L"QUORLIN_FULL_FOLDER", full, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        GTEST_SKIP() << "no full file system was prepared for this run";
    std::wstring folder = L"Z:" + std::wstring(full, length);
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    const fs::path path = fs::path(folder) / L"kept.ksig";
    const std::string before = ReadBytes(path);
    ASSERT_FALSE(before.empty()) << "the prepared folder holds kept.ksig";

    MessageBoxRecorder boxes;
    SaveListFileAndReport(CString(path.wstring()), CString(std::wstring(64 * 1024, L'x')));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, CString(L"Failed to save the file. Error code: 13"));
    EXPECT_EQ(ReadBytes(path), before);
}
} // namespace
