// Benchmarks 1 and 3: what a signing run in the real dialog costs per file, against a bare loop that only
// starts the same tool with the same command line and drains its pipe; with output, the log grows file by
// file, and the cost a file must stay the same however long the run.
//   bench_run_overhead [files] [output bytes per file]     (defaults: 200 files, no output)

#include "BenchSupport.h"
#include "platform/WinApp.h"
#include "signing/SigningCommandLine.h"
#include "ui/QuorlinDlg.h"
#include "ui/resource.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

CWinApp theBenchApplication;

int wmain(int argc, wchar_t** argv)
{
    const int files = argc > 1 ? _wtoi(argv[1]) : 200;
    const int outputBytes = argc > 2 ? _wtoi(argv[2]) : 0;

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"quorlin bench";
    std::filesystem::create_directories(folder);
    const std::filesystem::path tool = folder / L"signtool.exe";
    std::filesystem::copy_file(StandinTool(), tool, std::filesystem::copy_options::overwrite_existing);
    const std::filesystem::path script = folder / L"file.exe";
    std::ofstream(script, std::ios::binary)
        << "#standin\n"
        << (outputBytes > 0 ? "fill " + std::to_string(outputBytes) + " 78\n" : "");

    std::wstring listText;
    for (int i = 0; i < files; ++i)
        listText += (i ? L"\r\n" : L"") + script.wstring();

    const CString commandLine = BuildSigningCommandLine(CString(tool.wstring()), CString(script.wstring()));
    const double bareStart = Now();
    for (int i = 0; i < files; ++i)
        BareToolRun(commandLine);
    const double bare = Now() - bareStart;

    AfxGetApp()->SetRegistryKey(L"Vantrel-App-Bench");
    AfxGetApp()->WriteProfileString(L"Settings", L"SigntoolPath", CString(tool.wstring()));
    CQuorlinDlg dialog;
    if (!dialog.Create())
        return 1;
    SetWindowTextW(GetDlgItem(dialog.m_hWnd, IDC_FILE_LIST), listText.c_str());
    const double runStart = Now();
    SendMessageW(GetDlgItem(dialog.m_hWnd, IDOK), BM_CLICK, 0, 0);
    const double run = Now() - runStart;

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("files %d, output %d bytes each\n", files, outputBytes);
    std::printf("bare loop   %8.3f s  %7.2f ms a file\n", bare, 1000 * bare / files);
    std::printf("signing run %8.3f s  %7.2f ms a file\n", run, 1000 * run / files);
    std::printf("ratio run / bare: %.3f\n", run / bare);
    std::printf("peak working set %.1f MiB\n", static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vantrel-App-Bench");
    std::filesystem::remove_all(folder);
    return 0;
}
