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
#include <utility>
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
    bool listReplaced = false;
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
    void AppendToLog(const CString& part) override
    {
        logText += part;
        steps.push_back(L"append " + part.Str());
    }
    std::optional<int> PumpPendingMessages() override
    {
        steps.push_back(L"pump");
        return onPump(m_pumps++);
    }
    bool TakeListReplaced() override { return std::exchange(listReplaced, false); }
    void ShowProgress(std::size_t done, std::size_t total) override
    {
        steps.push_back(L"progress " + std::to_wstring(done) + L" of " + std::to_wstring(total));
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
        L"progress 0 of 2",
        L"sign a.exe with C:\\sdk\\signtool.exe",
        L"append A\r\n",
        L"pump",
        L"progress 1 of 2",
        L"sign b.exe with C:\\sdk\\signtool.exe",
        L"append B\r\n",
        L"pump",
        L"not running",
        L"append Finished!",
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

// The steps of one kind, without the word that names the kind.
std::vector<std::wstring> StepsOf(const RecordingHost& host, const std::wstring& kind)
{
    std::vector<std::wstring> found;
    for (const std::wstring& step : host.steps)
        if (step.starts_with(kind + L" "))
            found.push_back(step.substr(kind.size() + 1));
    return found;
}

std::vector<std::wstring> Signed(const RecordingHost& host)
{
    return StepsOf(host, L"sign");
}

TEST(RunSigning, ChangesMadeWhileMessagesArePumpedTakeEffectFromTheNextFile)
{
    const auto replaceList = [](RecordingHost& host, const wchar_t* listText)
    {
        SplitFileList(listText, host.files);
        host.listReplaced = true;
    };
    const struct
    {
        const char* name;
        int pump; // 0 while "Starting..." shows, 1 after the first file
        std::function<void(RecordingHost&)> change;
        std::vector<std::wstring> signedFiles;
    } cases[] = {
        {"Clear empties the list",
         1,
         [&](RecordingHost& host) { replaceList(host, L""); },
         {L"a.exe with T1.exe"}},
        {"a drop adds names",
         1,
         [](RecordingHost& host) { host.files.Add(L"c.exe"); },
         {L"a.exe with T1.exe", L"b.exe with T1.exe", L"c.exe with T1.exe"}},
        {"a dropped list file is signed whole",
         1,
         [&](RecordingHost& host) { replaceList(host, L"x.exe\r\ny.exe"); },
         {L"a.exe with T1.exe", L"x.exe with T1.exe", L"y.exe with T1.exe"}},
        {"a list file dropped before the first file",
         0,
         [&](RecordingHost& host) { replaceList(host, L"x.exe\r\ny.exe"); },
         {L"x.exe with T1.exe", L"y.exe with T1.exe"}},
        {"\"...\" chooses another tool",
         1,
         [](RecordingHost& host) { host.toolPath = L"T2.exe"; },
         {L"a.exe with T1.exe", L"b.exe with T2.exe"}},
        {"typing changes only the edit",
         1,
         [](RecordingHost& host) { host.controlsText = L"q.exe"; },
         {L"a.exe with T1.exe", L"b.exe with T1.exe"}},
    };
    for (const auto& c : cases)
    {
        RecordingHost host;
        host.toolPath = L"T1.exe";
        host.onPump = [&](int pump) -> std::optional<int>
        {
            if (pump == c.pump)
                c.change(host);
            return std::nullopt;
        };
        RunSigning(host);
        EXPECT_EQ(Signed(host), c.signedFiles) << c.name;
        EXPECT_TRUE(host.logText.Right(9) == L"Finished!") << c.name;
    }
}

TEST(RunSigning, ProgressCountsTheFilesDoneOutOfThoseAndTheOnesStillToSign)
{
    RecordingHost host;
    host.controlsText = L"a.exe\r\nb.exe\r\nc.exe";
    host.onPump = [&](int pump) -> std::optional<int>
    {
        if (pump == 1)
            host.files.Add(L"dropped.exe");
        return std::nullopt;
    };
    RunSigning(host);
    EXPECT_EQ(StepsOf(host, L"progress"),
              (std::vector<std::wstring>{L"0 of 3", L"1 of 4", L"2 of 4", L"3 of 4"}));
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
