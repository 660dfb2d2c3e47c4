// Bad and outsized input, each with the outcome docs/robustness.md promises: the specified message or the
// specified silence, a program that keeps working, and no list lost.

#include "MessageBoxRecorder.h"
#include "PrintCString.h"
#include "TestFiles.h"
#include "listfile/ListFile.h"
#include "signing/SignOneFile.h"
#include "standin/CountedOutput.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

namespace
{
TEST(Robustness, AFiftyMegabyteListOfOneHundredThousandEntriesLoadsAndSavesWhole)
{
    TempDirectory folder;
    std::string bytes;
    for (int entry = 0; entry < 100000; ++entry)
        bytes += "C:\\" + std::string(480, 'p') + "\\file" + std::to_string(100000 + entry) + ".exe\r\n";
    ASSERT_GE(bytes.size(), 50u * 1000 * 1000);
    WriteBytes(folder / L"big.ksig", bytes);

    CString listText;
    CStringArray files;
    ReadListFile(CString((folder / L"big.ksig").wstring()), listText, files);
    ASSERT_EQ(files.GetSize(), 100000);
    EXPECT_EQ(files[99999], CString(L"C:\\" + std::wstring(480, L'p') + L"\\file199999.exe"));

    SaveListFile(CString((folder / L"again.ksig").wstring()), listText);
    bytes.resize(bytes.size() - 2); // a program-made list text has no break after its last entry
    EXPECT_TRUE(ReadBytes(folder / L"again.ksig") == bytes);
}

TEST(Robustness, BinaryGarbageLoadsAsSomeListAndSurvivesASaveAndALoad)
{
    TempDirectory folder;
    std::mt19937 random(20261207);
    std::string garbage(64 * 1024, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(random() & 0xFF);
    garbage[100] = '\0';
    WriteBytes(folder / L"garbage.ksig", garbage);

    CString listText;
    CStringArray files;
    ReadListFile(CString((folder / L"garbage.ksig").wstring()), listText, files);
    EXPECT_FALSE(files.IsEmpty());
    EXPECT_EQ(listText.Str().find(L'\0'), std::wstring::npos);

    SaveListFile(CString((folder / L"saved.ksig").wstring()), listText);
    CString reloaded;
    CStringArray reloadedFiles;
    ReadListFile(CString((folder / L"saved.ksig").wstring()), reloaded, reloadedFiles);
    EXPECT_TRUE(std::vector<CString>(reloadedFiles.begin(), reloadedFiles.end()) ==
                std::vector<CString>(files.begin(), files.end()));
}

TEST(Robustness, APathOf32000CharactersReachesTheToolWhole)
{
    StandinTool tool;
    const CString path = CString(L"C:\\" + std::wstring(31991, L'x') + L"\\a.exe");
    ASSERT_GE(path.GetLength(), 32000);
    CString output;
    EXPECT_TRUE(SignOneFile(path, output, tool.Path()));
    const auto calls = tool.JournalCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].back() == path.Str()) << "the path arrived cut or split";
}

TEST(Robustness, OneHundredMebibytesOfToolOutputArriveWholeAndInOrder)
{
    constexpr std::size_t kSize = 100u << 20;
    StandinTool tool;
    CString output;
    ASSERT_TRUE(SignOneFile(tool.Script(L"loud.exe", "counted " + std::to_string(kSize) + "\n"), output,
                            tool.Path()));
    ASSERT_EQ(static_cast<std::size_t>(output.GetLength()), kSize);
    const std::string expected = CountedOutput(kSize);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), output.Str().begin(),
                           [](char byte, wchar_t c) { return static_cast<wchar_t>(byte) == c; }));
}
} // namespace
