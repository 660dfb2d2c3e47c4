#include "TestFiles.h"

#include "platform/CodePage.h"
#include "platform/UniqueHandle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

fs::path ExecutableDirectory()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return fs::path(path).parent_path();
}

namespace
{
fs::path LongTemporaryFolder()
{
    const fs::path temporary = fs::temp_directory_path();
    std::wstring whole(32768, L'\0');
    whole.resize(GetLongPathNameW(temporary.c_str(), whole.data(), static_cast<DWORD>(whole.size())));
    return whole.empty() ? temporary : fs::path(whole);
}
} // namespace

TempDirectory::TempDirectory()
{
    static std::atomic<unsigned> counter;
    m_path = LongTemporaryFolder() / (L"quorlin test " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                      std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++));
    fs::create_directories(m_path);
}

namespace
{
// Removes a tree through extended-length paths, so that trees deeper than MAX_PATH go as well.
void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found{};
    const UniqueFind search(FindFirstFileW((path + L"\\*").c_str(), &found));
    if (search)
    {
        do
        {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\" + name);
            else
            {
                // A read-only file cannot be deleted until it is made writable again.
                SetFileAttributesW((path + L"\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW((path + L"\\" + name).c_str());
            }
        } while (FindNextFileW(search.Get(), &found));
    }
    RemoveDirectoryW(path.c_str());
}
} // namespace

TempDirectory::~TempDirectory()
{
    RemoveTree(L"\\\\?\\" + m_path.wstring());
}

PlacedFile::PlacedFile(const fs::path& from, fs::path to) : m_path(std::move(to))
{
    fs::copy_file(from, m_path);
}

PlacedFile::~PlacedFile()
{
    std::error_code ignored;
    fs::remove(m_path, ignored);
}

namespace
{
fs::path AsideOf(const fs::path& path)
{
    return path.wstring() + L".quorlin-aside";
}
} // namespace

FileSetAside::FileSetAside(fs::path path) : m_path(std::move(path))
{
    MoveBackLeftAside(m_path);
    if (GetFileAttributesW(m_path.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !MoveFileExW(m_path.c_str(), AsideOf(m_path).c_str(), 0))
        throw std::runtime_error("a file of the machine's could not be set aside for the test: error " +
                                 std::to_string(GetLastError()));
}

FileSetAside::~FileSetAside()
{
    MoveBackLeftAside(m_path);
}

void FileSetAside::MoveBackLeftAside(const fs::path& path)
{
    const fs::path aside = AsideOf(path);
    if (GetFileAttributesW(aside.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !MoveFileExW(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        ADD_FAILURE() << "a file of the machine's set aside for a test could not be moved back: error "
                      << GetLastError();
}

bool MachineRefusesLongPaths()
{
    using Query = BOOLEAN(WINAPI*)();
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlAreLongPathsEnabled")));
    return query && !query();
}

std::size_t CountOpenHandles()
{
    std::size_t open = 0;
    for (std::uintptr_t value = 4; value < 0x10000; value += 4)
    {
        DWORD flags = 0;
        open += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return open;
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<fs::path> FolderContents(const fs::path& folder)
{
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string AnsiBytes(const std::wstring& text)
{
    const std::optional<std::string> bytes = AnsiFromWide(text);
    if (!bytes)
        throw std::invalid_argument("a text of the test has a character that the ANSI code page lacks");
    return *bytes;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

StandinTool::StandinTool()
{
    fs::create_directories(m_folder / L"tool folder");
    m_tool = m_folder / L"tool folder" / L"signtool.exe";
    fs::copy_file(ExecutableDirectory() / L"standin_signtool.exe", m_tool);
    m_journal = m_folder / L"journal.txt";
    SetEnvironmentVariableW(L"QUORLIN_STANDIN_JOURNAL", m_journal.c_str());
}

StandinTool::~StandinTool()
{
    SetEnvironmentVariableW(L"QUORLIN_STANDIN_JOURNAL", nullptr);
}

CString StandinTool::Script(const std::wstring& name, const std::string& directives) const
{
    const fs::path path = m_folder / name;
    WriteBytes(path, "#standin\n" + directives);
    return CString(path.wstring());
}

std::vector<std::wstring> StandinTool::SignedFiles() const
{
    std::vector<std::wstring> files;
    for (const std::vector<std::wstring>& call : JournalCalls())
        files.push_back(call.back());
    return files;
}

std::vector<std::vector<std::wstring>> StandinTool::JournalCalls() const
{
    const std::string bytes = ReadBytes(m_journal);
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                    static_cast<int>(text.size())));
    std::vector<std::vector<std::wstring>> calls;
    std::size_t start = 0;
    while (start < text.size())
    {
        const std::size_t end = text.find(L'\n', start);
        const std::wstring line = text.substr(start, end - start);
        std::vector<std::wstring> arguments;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find(L'\t', from)) != std::wstring::npos; from = tab + 1)
            arguments.push_back(line.substr(from, tab - from));
        arguments.push_back(line.substr(from));
        calls.push_back(arguments);
        start = end == std::wstring::npos ? text.size() : end + 1;
    }
    return calls;
}
