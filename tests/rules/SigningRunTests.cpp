#include "PrintCString.h"
#include "platform/MessageBox.h"
#include "signing/FileList.h"
#include "signing/SigningRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace
{
// A dialog stand-in that records every observable step of a run, in order, its message boxes among them.
class RecordingHost : public SigningRunHost
{
  public:
    RecordingHost()
        : m_previousSink(SetMessageBoxSink(
              [this](const CString& text, unsigned type)
              {
                  steps.push_back(L"message " + text.Str() + (type == 0 ? L"" : L" with another type"));
                  return 1;
              }))
    {
    }
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;
    ~RecordingHost() override { SetMessageBoxSink(std::move(m_previousSink)); }

    CString toolPath = L"C:\\sdk\\signtool.exe";
    CString fileListText;
    CStringArray files;
    CString logText = L"old log";
    CString controlsText = L"a.exe\r\nb.exe"; // what the list edit holds until a pull copies it
    std::map<std::wstring, std::wstring> outputs = {{L"a.exe", L"A"}, {L"b.exe", L"B"}};
    bool toolExists = true;
    bool signThrows = false;
    std::function<std::optional<int>(int pumpIndex)> onPump = [](int) { return std::nullopt; };
    std::vector<std::wstring> steps;

    CString& ToolPath() override { return toolPath; }
    CString& FileListText() override { return fileListText; }
    CStringArray& Files() override { return files; }
    CString& LogText() override { return logText; }
    bool PathExists(const CString&) override { return toolExists; }
    void SetRunning(bool running) override { steps.push_back(running ? L"running" : L"not running"); }
    void BeginWaitCursor() override { steps.push_back(L"cursor on"); }
    void EndWaitCursor() override { steps.push_back(L"cursor off"); }
    void PullControls() override
    {
        steps.push_back(L"pull");
        fileListText = controlsText;
    }
    void ShowLog() override { steps.push_back(L"show " + logText.Str()); }
    std::optional<int> PumpPendingMessages() override
    {
        steps.push_back(L"pump");
        return onPump(m_pumps++);
    }
    void PostQuit(int exitCode) override { steps.push_back(L"quit " + std::to_wstring(exitCode)); }
    bool SignOneFile(const CString& filePath, CString& output, const CString& tool) override
    {
        steps.push_back(L"sign " + filePath.Str() + L" with " + tool.Str());
        if (signThrows)
            throw std::bad_alloc();
        output = CString(outputs[filePath.Str()]);
        return true;
    }

  private:
    MessageBoxSink m_previousSink;
    int m_pumps = 0;
};

TEST(RunSigning, ToolPathChecksShowTheirMessageAndChangeNothingElse)
{
    const struct
    {
        const wchar_t* toolPath;
        bool exists;
        std::vector<std::wstring> steps;
    } cases[] = {
        {L"", true, {L"message Error - no SignTool set"}},
        {L"exe", true, {L"message The signtool file is not a valid .exe file."}},
        {L"C:\\signtool.ex", true, {L"message The signtool file is not a valid .exe file."}},
        {L"C:\\signtool.bat", true, {L"message The signtool file is not a valid .exe file."}},
        {L"C:\\missing\\signtool.exe",
         false,
         {L"message The signtool.exe does not exist or is not accessible."}},
    };
    for (const auto& c : cases)
    {
        RecordingHost host;
        host.toolPath = c.toolPath;
        host.toolExists = c.exists;
        host.fileListText = L"kept";
        host.files.Add(L"kept entry");
        RunSigning(host);
        EXPECT_EQ(host.steps, c.steps) << ::testing::PrintToString(CString(c.toolPath));
        EXPECT_EQ(host.fileListText, CString(L"kept"));
        EXPECT_EQ(host.files.GetSize(), 1);
        EXPECT_EQ(host.logText, CString(L"old log"));
    }
}

TEST(RunSigning, TheExtensionCheckIgnoresCase)
{
    for (const wchar_t* toolPath : {L"C:\\SIGNTOOL.EXE", L"C:\\signtool.Exe", L".exe"})
    {
        RecordingHost host;
        host.toolPath = toolPath;
        RunSigning(host);
        ASSERT_FALSE(host.steps.empty());
        EXPECT_EQ(host.steps.front(), L"running") << ::testing::PrintToString(CString(toolPath));
    }
}

TEST(RunSigning, SignsEachFileInOrderAndShowsTheLogAfterEveryFile)
{
    RecordingHost host;
    RunSigning(host);
    const std::vector<std::wstring> expected = {
        L"running",
        L"cursor on",
        L"pull",
        L"show Starting...\r\n",
        L"pump",
        L"sign a.exe with C:\\sdk\\signtool.exe",
        L"show Starting...\r\nA\r\n",
        L"pump",
        L"sign b.exe with C:\\sdk\\signtool.exe",
        L"show Starting...\r\nA\r\nB\r\n",
        L"pump",
        L"not running",
        L"show Starting...\r\nA\r\nB\r\nFinished!",
        L"cursor off",
    };
    EXPECT_EQ(host.steps, expected);
    EXPECT_EQ(host.logText, CString(L"Starting...\r\nA\r\nB\r\nFinished!"));
}

TEST(RunSigning, LogTextTakesEachOutputAsItIsFollowedByALineBreak)
{
    const struct
    {
        const wchar_t* listText;
        std::map<std::wstring, std::wstring> outputs;
        const wchar_t* log;
    } cases[] = {
        {L"", {}, L"Starting...\r\nFinished!"},
        {L"\r\n\r\n\n", {}, L"Starting...\r\nFinished!"},
        {L"x.exe", {{L"x.exe", L"line\r\n"}}, L"Starting...\r\nline\r\n\r\nFinished!"},
        {L"x.exe\r\ny.exe", {}, L"Starting...\r\n\r\n\r\nFinished!"},
    };
    for (const auto& c : cases)
    {
        RecordingHost host;
        host.controlsText = c.listText;
        host.outputs = c.outputs;
        RunSigning(host);
        EXPECT_EQ(host.logText, CString(c.log)) << ::testing::PrintToString(CString(c.listText));
        RunSigning(host);
        EXPECT_EQ(host.logText, CString(c.log)) << "a second run starts the log afresh";
    }
}

TEST(RunSigning, ARunLeftByAnExceptionStillGivesSignAndCloseBack)
{
    RecordingHost host;
    host.signThrows = true;
    EXPECT_THROW(RunSigning(host), std::bad_alloc);
    ASSERT_GE(host.steps.size(), 2u);
    EXPECT_EQ(std::vector<std::wstring>(host.steps.end() - 2, host.steps.end()),
              (std::vector<std::wstring>{L"cursor off", L"not running"}));
}

std::vector<std::wstring> Signed(const RecordingHost& host)
{
    std::vector<std::wstring> files;
    for (const std::wstring& step : host.steps)
        if (step.starts_with(L"sign "))
            files.push_back(step.substr(5));
    return files;
}

TEST(RunSigning, ChangesMadeWhileMessagesArePumpedTakeEffectFromTheNextFile)
{
    const struct
    {
        const char* name;
        std::function<void(RecordingHost&)> duringFirstFilePump;
        std::vector<std::wstring> signedFiles;
    } cases[] = {
        {"Clear empties the list",
         [](RecordingHost& host) { host.files.SetSize(0); },
         {L"a.exe with T1.exe"}},
        {"a drop rebuilds the list",
         [](RecordingHost& host) { SplitFileList(L"a.exe\r\nb.exe\r\nc.exe", host.files); },
         {L"a.exe with T1.exe", L"b.exe with T1.exe", L"c.exe with T1.exe"}},
        {"a dropped list file replaces the list",
         [](RecordingHost& host) { SplitFileList(L"x.exe\r\ny.exe\r\nz.exe", host.files); },
         {L"a.exe with T1.exe", L"y.exe with T1.exe", L"z.exe with T1.exe"}},
        {"\"...\" chooses another tool",
         [](RecordingHost& host) { host.toolPath = L"T2.exe"; },
         {L"a.exe with T1.exe", L"b.exe with T2.exe"}},
        {"typing changes only the edit",
         [](RecordingHost& host) { host.controlsText = L"q.exe"; },
         {L"a.exe with T1.exe", L"b.exe with T1.exe"}},
    };
    for (const auto& c : cases)
    {
        RecordingHost host;
        host.toolPath = L"T1.exe";
        host.onPump = [&](int pump) -> std::optional<int>
        {
            if (pump == 1)
                c.duringFirstFilePump(host);
            return std::nullopt;
        };
        RunSigning(host);
        EXPECT_EQ(Signed(host), c.signedFiles) << c.name;
        EXPECT_TRUE(host.logText.Right(9) == L"Finished!") << c.name;
    }
}

TEST(RunSigning, AQuitRequestTakenWhilePumpingIsPostedAgainOnceTheRunHasEnded)
{
    RecordingHost host;
    host.onPump = [](int pump) -> std::optional<int>
    {
        if (pump == 0)
            return 7;
        if (pump == 1)
            return 9; // a later request does not replace the first one
        return std::nullopt;
    };
    RunSigning(host);
    EXPECT_EQ(Signed(host).size(), 2u) << "the run goes on after the quit request";
    ASSERT_GE(host.steps.size(), 2u);
    EXPECT_EQ(host.steps[host.steps.size() - 2], L"cursor off");
    EXPECT_EQ(host.steps.back(), L"quit 7");
    EXPECT_EQ(std::count(host.steps.begin(), host.steps.end(), L"quit 7"), 1);
}
} // namespace
