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
    bool operator==(const ResourceCounts&) const = default;
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

    const ResourceCounts before = watch.WhileIdle(Count);
    SetWindowTextW(list, Repeated(file.Str(), 1000).c_str());
    ClickSign(dialog.m_hWnd);
    const ResourceCounts after = watch.WhileIdle(Count);

    EXPECT_EQ(tool.JournalCalls().size(), 1003u);
    EXPECT_GT(before.handles, 0u);
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.userObjects, before.userObjects);
    std::printf("handles %zu, GDI objects %lu, USER objects %lu (0 where Wine does not count them)\n",
                after.handles, after.gdiObjects, after.userObjects);
}
} // namespace
