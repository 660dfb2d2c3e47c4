#include "RegistryScratch.h"
#include "RunWatch.h"
#include "TestFiles.h"
#include "platform/WinApp.h"
#include "ui/QuorlinDlg.h"
#include "ui/resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace
{
struct ResourceCounts
{
    std::size_t handles;
    DWORD gdiObjects;
    DWORD userObjects;
    bool NoMoreThan(const ResourceCounts& other) const
    {
        return handles <= other.handles && gdiObjects <= other.gdiObjects && userObjects <= other.userObjects;
    }
};

ResourceCounts Count()
{
    return {CountOpenHandles(), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

std::wstring Repeated(const std::wstring& line, int times)
{
    std::wstring text;
    for (int i = 0; i < times; ++i)
        text += (i ? L"\r\n" : L"") + line;
    return text;
}

// Sign's command as its click sends it: a click of the mouse needs the dialog to be active, which another
// program in front of it may not allow.
void ClickSign(HWND dialog)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// Windows opens some handles of its own lazily, at the first use of something, so counts are not compared
// with those before the first long run: a run of twice as many files after it must leave no more behind.
TEST(ResourceHygiene, ARunOverAThousandFilesLeavesNoHandleOrWindowObjectBehind)
{
    const RedirectedRegistry registry;
    AfxGetApp()->SetRegistryKey(L"Vantrel-App");
    StandinTool tool;
    // Started before the first count, so that the watch's own thread is in both counts; the counts are taken
    // between two of its looks at the journal.
    RunWatch watch(tool.Journal());
    AfxGetApp()->WriteProfileString(L"Settings", L"SigntoolPath", tool.Path());
    const CString file = tool.Script(L"quick.exe", "out signed\n");

    CQuorlinDlg dialog;
    ASSERT_TRUE(dialog.Create());
    const HWND list = GetDlgItem(dialog.m_hWnd, IDC_FILE_LIST);
    // A first short run lets the system make whatever it keeps for good (pipes' buffers, the busy cursor).
    SetWindowTextW(list, Repeated(file.Str(), 3).c_str());
    ClickSign(dialog.m_hWnd);
    ASSERT_EQ(tool.JournalCalls().size(), 3u);

    SetWindowTextW(list, Repeated(file.Str(), 500).c_str());
    ClickSign(dialog.m_hWnd);
    const ResourceCounts afterHalf = watch.WhileIdle(Count);
    SetWindowTextW(list, Repeated(file.Str(), 1000).c_str());
    ClickSign(dialog.m_hWnd);
    const ResourceCounts afterWhole = watch.WhileIdle(Count);

    EXPECT_EQ(tool.JournalCalls().size(), 1503u);
    EXPECT_GT(afterHalf.handles, 0u);
    EXPECT_TRUE(afterWhole.NoMoreThan(afterHalf));
    for (const auto& [files, counts] : {std::pair{500, afterHalf}, std::pair{1000, afterWhole}})
        std::printf(
            "after %d files: handles %zu, GDI objects %lu, USER objects %lu (0 where Wine does not count "
            "them)\n",
            files, counts.handles, counts.gdiObjects, counts.userObjects);
}
} // namespace
