#include "MessageBoxRecorder.h"
#include "PrintCString.h"
#include "TestFiles.h"
#include "signing/SignOneFile.h"
#include "signing/ToolProcess.h"
#include "standin/CountedOutput.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

namespace
{
const std::vector<std::wstring> kFixedArguments = {
    L"sign", L"/tr", L"http://timestamp.sectigo.com", L"/td", L"sha256", L"/fd", L"sha256", L"/a"};

std::vector<std::wstring> ExpectedArguments(const CString& filePath)
{
    std::vector<std::wstring> arguments = kFixedArguments;
    arguments.push_back(filePath.Str());
    return arguments;
}

TEST(SignOneFile, PassesTheFixedArgumentsAndThePathWithSpacesAsOneArgument)
{
    StandinTool tool;
    std::filesystem::create_directories(tool.Folder() / L"my build");
    // Where the ANSI code page is Western European, named in letters of it that UTF-8 would write in two
    // bytes.
    const CString file =
        CString((tool.Folder() / L"my build" / (GetACP() == 1252 ? L"app \u00dcn\u00ef.exe" : L"app one.exe"))
                    .wstring());
    WriteBytes(file.Str(), "MZ not a real program");

    CString output = L"previous";
    EXPECT_TRUE(SignOneFile(file, output, tool.Path()));

    const auto calls = tool.JournalCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], ExpectedArguments(file));
    EXPECT_EQ(output, L"Quorlin stand-in signtool: NO signature was made; " + file + L" is unchanged.\r\n");
}

struct OutputCase
{
    const char* name;
    std::string directives;
    CString expected;
};

TEST(SignOneFile, GivesEverythingTheToolPrintedAsOneText)
{
    const OutputCase cases[] = {
        {"nothing printed", "", L""},
        {"standard output and error interleaved", "out one\nerr two\nout three\n",
         L"one\r\ntwo\r\nthree\r\n"},
        {"a NUL byte is dropped on its own", "hex 61 62 63 00 64 65 66\n", L"abcdef"},
        {"a failure exit code still counts as run", "err SignTool Error: no certificate\nexit 1\n",
         L"SignTool Error: no certificate\r\n"},
        {"output after a pause", "out before\nsleep 300\nout after\n", L"before\r\nafter\r\n"},
    };
    StandinTool tool;
    for (const OutputCase& c : cases)
    {
        CString output = L"previous";
        EXPECT_TRUE(SignOneFile(tool.Script(L"script.exe", c.directives), output, tool.Path())) << c.name;
        EXPECT_EQ(output, c.expected) << c.name;
    }
}

TEST(SignOneFile, CapturesSixteenMebibytesWholeAndInOrderWithoutHanging)
{
    // More than any pipe holds: a routine that read only after the child ended would wait for ever here.
    constexpr std::size_t kSize = 16u << 20;
    StandinTool tool;
    CString output;
    ASSERT_TRUE(
        SignOneFile(tool.Script(L"big.exe", "counted " + std::to_string(kSize) + "\n"), output, tool.Path()));
    ASSERT_EQ(static_cast<std::size_t>(output.GetLength()), kSize);
    EXPECT_TRUE(output == CString(CountedOutput(kSize).c_str())) << "the output is not the counted sequence";
}

TEST(ToolOutput, AMultiByteCharacterAcrossTheReadSizeArrivesWhole)
{
    struct
    {
        unsigned codePage;
        const char* hiragana_a;
    } cases[] = {{65001, "E3 81 82"}, {932, "82 A0"}};
    StandinTool tool;
    for (const auto& c : cases)
    {
        // The character starts at the 4095th byte, where a read of 4095 bytes ends.
        const CString file =
            tool.Script(L"kana.exe", std::string("fill 4094 78\nhex ") + c.hiragana_a + "\n");
        ToolRun run = RunToolCapturingOutput(L"\"" + tool.Path() + L"\" \"" + file + L"\"");
        ASSERT_EQ(run.failure, ToolRun::Failure::None);
        EXPECT_EQ(DecodeToolOutput(run.output, c.codePage), CString(std::wstring(4094, L'x') + L"\u3042"))
            << "code page " << c.codePage;
    }
}

TEST(SignOneFile, PathsThatEndInABackslashOrHoldAQuoteArriveAsExactlyOneArgument)
{
    StandinTool tool;
    const CString cases[] = {
        CString(tool.Folder().Path().wstring()) + L"\\",
        L"C:\\odd\\\\",
        L"x\" /evil \"y",
        L"C:\\a\\\"b",
    };
    for (const CString& file : cases)
    {
        CString output;
        EXPECT_TRUE(SignOneFile(file, output, tool.Path()));
    }
    const auto calls = tool.JournalCalls();
    ASSERT_EQ(calls.size(), std::size(cases));
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i], ExpectedArguments(cases[i])) << "case " << i;
}

// The process's current folder, for as long as it lives.
class CurrentFolder
{
  public:
    explicit CurrentFolder(const std::filesystem::path& folder) { std::filesystem::current_path(folder); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    ~CurrentFolder() { std::filesystem::current_path(m_previous); }

  private:
    std::filesystem::path m_previous = std::filesystem::current_path();
};

TEST(SignOneFile, AToolThatCannotStartShowsTheErrorCodeAndLeavesTheOutputAlone)
{
    TempDirectory folder;
    std::filesystem::create_directories(folder / L"x.exe");
    const CurrentFolder inFolder(folder.Path());
    const struct
    {
        CString tool;
        CString message;
    } cases[] = {
        {CString((folder / L"x.exe").wstring()), L"Failed to execute signtool.exe. Error code: 5"},
        {CString((folder / L"missing.exe").wstring()), L"Failed to execute signtool.exe. Error code: 2"},
        // A bare name is a file of the current folder, as the check before a run reads it, and is not looked
        // for beside the program, where this one lies.
        {L"standin_signtool.exe", L"Failed to execute signtool.exe. Error code: 2"},
    };
    for (const auto& c : cases)
    {
        MessageBoxRecorder boxes;
        CString output = L"untouched";
        EXPECT_FALSE(SignOneFile(L"C:\\a.exe", output, c.tool));
        EXPECT_EQ(output, CString(L"untouched"));
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, c.message);
        EXPECT_EQ(boxes.Boxes()[0].type, 0u);
    }
}

TEST(SignOneFile, ClosesEveryHandleItOpensOnEveryPath)
{
    StandinTool tool;
    TempDirectory folder;
    std::filesystem::create_directories(folder / L"x.exe");
    const CString script = tool.Script(L"quiet.exe", "out done\n");
    MessageBoxRecorder boxes;
    auto signBoth = [&]
    {
        CString output;
        SignOneFile(script, output, tool.Path());
        SignOneFile(script, output, CString((folder / L"x.exe").wstring()));
    };
    signBoth(); // lets the runtime make whatever it keeps for good
    const std::size_t before = CountOpenHandles();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 20; ++i)
        signBoth();
    // Windows' own threads open and close handles of the process meanwhile: no growth is what counts.
    EXPECT_LE(CountOpenHandles(), before);
}
} // namespace
