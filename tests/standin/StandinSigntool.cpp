// A stand-in for signtool.exe, built only for the tests. It never signs anything and says so. It records
// each call in a journal and behaves as the file it is given asks, so tests can see exactly what reached it.
//
// Journal: when QUORLIN_STANDIN_JOURNAL names a file, each call appends one UTF-8 line holding its
// arguments after the program name, separated by tabs (no Windows path can hold a tab).
//
// Behaviour: a file whose first line is "#standin" is a script, one directive a line:
//   out TEXT      TEXT and CR LF to standard output
//   err TEXT      TEXT and CR LF to standard error
//   hex XX XX ..  these bytes to standard output
//   fill N XX     N copies of the byte XX to standard output
//   counted N     the first N bytes of the lines "0000000\n", "0000001\n", ... to standard output
//   cwd           the current folder and CR LF to standard output
//   sleep MS      wait MS milliseconds
//   await PATH    wait until a file of that path exists, for at most a minute
//   exit CODE     end with CODE
// Any other file, or none, gets one line saying that no signature was made, in the ANSI code page as the real
// tool writes, and exit code 0.

#include "CountedOutput.h"
#include "platform/UniqueHandle.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace
{
std::string Utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

// Text as Microsoft's signtool.exe writes it: narrow, in the ANSI code page, a letter the code page lacks
// written as its look-alike, and nothing from a character that has none.
std::string AsTheRealToolWrites(std::wstring_view text)
{
    std::string bytes;
    for (std::size_t at = 0; at < text.size(); ++at)
    {
        const int units = IS_HIGH_SURROGATE(text[at]) && at + 1 < text.size() ? 2 : 1;
        char narrow[8];
        BOOL lacking = FALSE;
        const int size =
            WideCharToMultiByte(CP_ACP, 0, &text[at], units, narrow, sizeof(narrow), nullptr, &lacking);
        if (size <= 0 || lacking)
            break;
        bytes.append(narrow, static_cast<std::size_t>(size));
        at += static_cast<std::size_t>(units - 1);
    }
    return bytes;
}

void WriteAll(DWORD stream, std::string_view bytes)
{
    const HANDLE handle = GetStdHandle(stream);
    while (!bytes.empty())
    {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 16));
        if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0)
            return;
        bytes.remove_prefix(written);
    }
}

void AppendToJournal(int argc, wchar_t** argv)
{
    wchar_t journal[MAX_PATH * 4] = L"";
    const DWORD length = GetEnvironmentVariableW(L"QUORLIN_STANDIN_JOURNAL", journal, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return;
    std::wstring line;
    for (int i = 1; i < argc; ++i)
    {
        if (i > 1)
            line += L'\t';
        line += argv[i];
    }
    const std::string bytes = Utf8(line) + "\n";
    const UniqueHfile file(CreateFileW(journal, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file)
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadWholeFile(const wchar_t* path)
{
    std::string bytes;
    const UniqueHfile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[4096];
    DWORD count = 0;
    while (file && ReadFile(file.Get(), buffer, sizeof(buffer), &count, nullptr) && count > 0)
        bytes.append(buffer, count);
    return bytes;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

int RunScript(const std::vector<std::string>& lines)
{
    for (std::size_t i = 1; i < lines.size(); ++i)
    {
        const std::string& line = lines[i];
        const std::size_t space = line.find(' ');
        const std::string verb = line.substr(0, space);
        const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
        if (verb == "out")
            WriteAll(STD_OUTPUT_HANDLE, rest + "\r\n");
        else if (verb == "err")
            WriteAll(STD_ERROR_HANDLE, rest + "\r\n");
        else if (verb == "hex")
        {
            std::string bytes;
            for (std::size_t at = 0; at + 1 < rest.size(); at += 3)
                bytes += static_cast<char>(std::strtoul(rest.substr(at, 2).c_str(), nullptr, 16));
            WriteAll(STD_OUTPUT_HANDLE, bytes);
        }
        else if (verb == "fill")
        {
            char* byte = nullptr;
            const unsigned long count = std::strtoul(rest.c_str(), &byte, 10);
            WriteAll(STD_OUTPUT_HANDLE,
                     std::string(count, static_cast<char>(std::strtoul(byte, nullptr, 16))));
        }
        else if (verb == "counted")
            WriteAll(STD_OUTPUT_HANDLE, CountedOutput(std::strtoull(rest.c_str(), nullptr, 10)));
        else if (verb == "cwd")
        {
            char folder[MAX_PATH] = "";
            GetCurrentDirectoryA(MAX_PATH, folder);
            WriteAll(STD_OUTPUT_HANDLE, std::string(folder) + "\r\n");
        }
        else if (verb == "sleep")
            Sleep(std::strtoul(rest.c_str(), nullptr, 10));
        else if (verb == "await")
            for (int waited = 0;
                 waited < 60000 && GetFileAttributesA(rest.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 10)
                Sleep(10);
        else if (verb == "exit")
            return std::atoi(rest.c_str());
    }
    return 0;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    AppendToJournal(argc, argv);
    if (argc < 2)
    {
        WriteAll(STD_ERROR_HANDLE, "Quorlin stand-in signtool: no file named; nothing was signed.\r\n");
        return 2;
    }
    const std::vector<std::string> lines = Lines(ReadWholeFile(argv[argc - 1]));
    if (!lines.empty() && lines[0] == "#standin")
        return RunScript(lines);
    WriteAll(STD_OUTPUT_HANDLE, "Quorlin stand-in signtool: NO signature was made; " +
                                    AsTheRealToolWrites(argv[argc - 1]) + " is unchanged.\r\n");
    return 0;
}
