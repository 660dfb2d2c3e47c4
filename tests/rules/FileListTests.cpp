#include "PrintCString.h"
#include "signing/FileList.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<CString> Entries(const CStringArray& files)
{
    return {files.begin(), files.end()};
}

CStringArray ArrayOf(const std::vector<CString>& entries)
{
    CStringArray files;
    for (const CString& entry : entries)
        files.Add(entry);
    return files;
}

struct SplitCase
{
    const char* name;
    const wchar_t* text;
    std::vector<CString> entries;
};

const SplitCase kSplitCases[] = {
    {"empty text", L"", {}},
    {"only line breaks", L"\r\n\n\r\r\r\n", {}},
    {"blank line between CR LF lines", L"C:\\a.exe\r\n\r\nC:\\b.dll\r\n", {L"C:\\a.exe", L"C:\\b.dll"}},
    {"LF and CR each separate", L"x\ny\rz", {L"x", L"y", L"z"}},
    {"LF CR separates once", L"x\n\ry", {L"x", L"y"}},
    {"blanks are kept around an entry", L" C:\\a.exe \r\n", {L" C:\\a.exe "}},
    {"a line of three spaces is an entry", L"   ", {L"   "}},
    {"tabs are no delimiters", L"\ta\tb\t", {L"\ta\tb\t"}},
    {"duplicates stay", L"C:\\a.exe\r\nC:\\a.exe", {L"C:\\a.exe", L"C:\\a.exe"}},
    {"leading breaks are skipped", L"\r\n\r\nfirst\r\nsecond", {L"first", L"second"}},
    {"no trailing break needed", L"one", {L"one"}},
    {"case and spelling are kept", L"c:\\A.EXE\r\nC:/b.dll", {L"c:\\A.EXE", L"C:/b.dll"}},
};

TEST(SplitFileList, GivesTheEntriesOfTheText)
{
    for (const SplitCase& c : kSplitCases)
    {
        CStringArray files;
        SplitFileList(c.text, files);
        EXPECT_EQ(Entries(files), c.entries) << c.name;
    }
}

TEST(SplitFileList, ReplacesWhatTheListHeldBefore)
{
    CStringArray files = ArrayOf({L"old 1", L"old 2", L"old 3"});
    SplitFileList(L"new", files);
    EXPECT_EQ(Entries(files), std::vector<CString>{L"new"});
    SplitFileList(L"\r\n", files);
    EXPECT_TRUE(files.IsEmpty());
}

struct JoinCase
{
    const char* name;
    std::vector<CString> entries;
    const wchar_t* text;
};

const JoinCase kJoinCases[] = {
    {"nothing", {}, L""},
    {"two entries", {L"C:\\a.exe", L"C:\\b.dll"}, L"C:\\a.exe\r\nC:\\b.dll"},
    {"one entry has no break", {L"C:\\a.exe"}, L"C:\\a.exe"},
    {"empty elements before the first text vanish", {L"", L"", L"a.exe"}, L"a.exe"},
    {"an empty element inside adds a break", {L"a.exe", L"", L"b.dll"}, L"a.exe\r\n\r\nb.dll"},
    {"an empty last element leaves a break", {L"a.exe", L""}, L"a.exe\r\n"},
};

TEST(JoinFileList, PutsOneLineBreakBeforeEachLaterEntry)
{
    for (const JoinCase& c : kJoinCases)
        EXPECT_EQ(JoinFileList(ArrayOf(c.entries)), CString(c.text)) << c.name;
}

TEST(FileList, SplitOfJoinGivesTheSameListAndJoinOfSplitNormalises)
{
    const std::vector<CString> list = {L"C:\\Program Files\\App\\app.exe", L" x ", L"C:\\a.exe",
                                       L"C:\\a.exe"};
    CStringArray files;
    SplitFileList(JoinFileList(ArrayOf(list)), files);
    EXPECT_EQ(Entries(files), list);

    SplitFileList(L"\n\r\na\r\r\n\nb\n\n", files);
    EXPECT_EQ(JoinFileList(files), CString(L"a\r\nb"));
}
} // namespace
