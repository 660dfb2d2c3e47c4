// Benchmark 2: capturing a tool's output with SignOneFile, against a raw ReadFile loop over the same pipe.
//   bench_capture [mebibytes]     (default 100)

#include "BenchSupport.h"
#include "signing/SignOneFile.h"
#include "signing/SigningCommandLine.h"
#include "signing/ToolProcess.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int wmain(int argc, wchar_t** argv)
{
    const unsigned long long mebibytes = argc > 1 ? _wtoi(argv[1]) : 100;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"quorlin capture bench";
    std::filesystem::create_directories(folder);
    const std::filesystem::path script = folder / L"loud.exe";
    std::ofstream(script, std::ios::binary) << "#standin\ncounted " << (mebibytes << 20) << "\n";
    const CString tool = CString(StandinTool().wstring());
    const CString file = CString(script.wstring());

    const double rawStart = Now();
    const std::size_t rawBytes = BareToolRun(BuildSigningCommandLine(tool, file));
    const double raw = Now() - rawStart;

    CString output;
    const double captureStart = Now();
    SignOneFile(file, output, tool);
    const double capture = Now() - captureStart;

    // Where the time goes: the capture itself, and the decoding of the bytes into text.
    const double pipeStart = Now();
    ToolRun run = RunToolCapturingOutput(BuildSigningCommandLine(tool, file));
    const double pipe = Now() - pipeStart;
    const double decodeStart = Now();
    const CString decoded = DecodeToolOutput(std::move(run.output), CP_ACP);
    const double decode = Now() - decodeStart;

    std::printf("output %llu MiB (raw loop read %zu bytes, SignOneFile gave %d characters)\n", mebibytes,
                rawBytes, output.GetLength());
    std::printf("raw ReadFile loop %7.3f s\n", raw);
    std::printf("SignOneFile       %7.3f s\n", capture);
    std::printf("ratio SignOneFile / raw: %.3f\n", capture / raw);
    std::printf("of which: capturing the bytes %.3f s, decoding %d characters %.3f s\n", pipe,
                decoded.GetLength(), decode);
    std::filesystem::remove_all(folder);
    return 0;
}
