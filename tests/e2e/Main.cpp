// The end-to-end driver: without arguments it runs the scenarios; with --demo it performs one signing run of
// a list in Quorlin.exe and keeps its screenshot and log, for tools/run on a machine without a display.

#include "Driver.h"

#include "platform/CodePage.h"
#include "windows/Eventually.h"
#include "windows/TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace
{
int RunDemo(const std::wstring& listFile, const std::filesystem::path& outputFolder)
{
    QuorlinProcess quorlin(ExecutableDirectory() / L"Quorlin.exe", L"\"" + listFile + L"\"");
    if (!quorlin.Window())
    {
        std::fputs("Quorlin.exe did not open its window.\n", stderr);
        return 1;
    }
    quorlin.Click(1);
    std::wstring log;
    Eventually([&] { return (log = quorlin.Text(1001)).ends_with(L"Finished!"); }, 60000);
    std::filesystem::create_directories(outputFolder);
    quorlin.SaveScreenshot(outputFolder / L"quorlin-demo.png");
    std::ofstream(outputFolder / L"quorlin-demo-log.txt", std::ios::binary) << Utf8FromWide(log).value_or("");
    std::fputs(log.ends_with(L"Finished!") ? "The demo run finished.\n" : "The demo run did not finish.\n",
               stdout);
    return log.ends_with(L"Finished!") ? 0 : 1;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    // Quorlin's windows are read in the pixels they have, not in those of 96 DPI, as Windows would give a
    // program that is not aware of scaling.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (argc == 4 && std::wstring(argv[1]) == L"--demo")
        return RunDemo(argv[2], argv[3]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
