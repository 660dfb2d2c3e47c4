#include "MessageBoxRecorder.h"
#include "PrintCString.h"
#include "TestFiles.h"
#include "platform/WinApp.h"
#include "signing/SystemSigningRunHost.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace
{
// The real platform half of the run (boxes, files, cursor, message queue, the tool) with the dialog's half
// kept in members and recorded.
class TestDialog : public SystemSigningRunHost
{
  public:
    CString toolPath;
    CString fileListText;
    CStringArray files;
    CString logText;
    CString listEdit;
    std::vector<std::wstring> steps;

    CString& ToolPath() override { return toolPath; }
    CString& FileListText() override { return fileListText; }
    CStringArray& Files() override { return files; }
    CString& LogText() override { return logText; }
    void SetRunning(bool running) override { steps.push_back(running ? L"running" : L"not running"); }
    void PullControls() override { fileListText = listEdit; }
    void ShowLog() override { steps.push_back(L"show"); }
    void AppendToLog(const CString& part) override
    {
        logText += part;
        steps.push_back(L"append");
    }
    bool TakeListReplaced() override { return false; }
    void ShowProgress(std::size_t, std::size_t) override {}
    bool SignOneFile(const CString& filePath, CString& output, const CString& tool) override
    {
        steps.push_back(AfxGetApp()->IsWaitCursorShown() ? L"sign while busy" : L"sign while idle");
        return SystemSigningRunHost::SignOneFile(filePath, output, tool);
    }
};

TEST(SigningRunOnWindows, SignsThreeFilesWithTheToolAndBuildsTheExactLog)
{
    StandinTool tool;
    const CString first = tool.Script(L"first.exe", "out signed first\n");
    const CString second = tool.Script(L"second file.exe", "err error on second\nexit 1\n");
    const CString third = tool.Script(L"third.exe", "hex 74 68 69 72 64\n");

    TestDialog dialog;
    dialog.toolPath = tool.Path();
    dialog.listEdit = first + L"\r\n" + second + L"\r\n\r\n" + third;
    RunSigning(dialog);

    EXPECT_EQ(dialog.logText,
              CString(L"Starting...\r\nsigned first\r\n\r\nerror on second\r\n\r\nthird\r\nFinished!"));
    const auto calls = tool.JournalCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].back(), first.Str());
    EXPECT_EQ(calls[1].back(), second.Str());
    EXPECT_EQ(calls[2].back(), third.Str());
    EXPECT_EQ(dialog.steps, (std::vector<std::wstring>{L"running", L"show", L"sign while busy", L"append",
                                                       L"sign while busy", L"append", L"sign while busy",
                                                       L"append", L"not running", L"append"}));
    EXPECT_FALSE(AfxGetApp()->IsWaitCursorShown());
}

TEST(SigningRunOnWindows, AQuitRequestDuringTheRunIsStillThereAfterIt)
{
    StandinTool tool;
    TestDialog dialog;
    dialog.toolPath = tool.Path();
    dialog.listEdit = tool.Script(L"a.exe", "out a\n") + L"\r\n" + tool.Script(L"b.exe", "out b\n");
    PostQuitMessage(42);
    RunSigning(dialog);

    EXPECT_EQ(tool.JournalCalls().size(), 2u) << "the run went on";
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 42u);
}

TEST(SigningRunOnWindows, ToolPathChecksUseTheRealFileSystem)
{
    TempDirectory folder;
    const struct
    {
        CString toolPath;
        const wchar_t* message;
    } cases[] = {
        {CString((folder / L"missing.exe").wstring()),
         L"The signtool.exe does not exist or is not accessible."},
        {CString(folder.Path().wstring()) + L"\\", L"The signtool file is not a valid .exe file."},
    };
    for (const auto& c : cases)
    {
        TestDialog dialog;
        dialog.toolPath = c.toolPath;
        MessageBoxRecorder boxes;
        RunSigning(dialog);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, CString(c.message));
        EXPECT_TRUE(dialog.steps.empty());
    }
}

TEST(SigningRunOnWindows, AFolderNamedLikeTheToolFailsPerFileWithAnEmptyLogLine)
{
    TempDirectory folder;
    std::filesystem::create_directories(folder / L"signtool.exe");
    TestDialog dialog;
    dialog.toolPath = CString((folder / L"signtool.exe").wstring());
    dialog.listEdit = L"C:\\a.exe\r\nC:\\b.exe";
    MessageBoxRecorder boxes;
    RunSigning(dialog);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    for (const auto& box : boxes.Boxes())
        EXPECT_EQ(box.text, CString(L"Failed to execute signtool.exe. Error code: 5"));
    EXPECT_EQ(dialog.logText, CString(L"Starting...\r\n\r\n\r\nFinished!"));
}
} // namespace
