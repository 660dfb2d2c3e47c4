#pragma once

#include "platform/CString.h"

#include <filesystem>
#include <string>
#include <vector>

// The folder that holds the running test program and the programs built beside it.
std::filesystem::path ExecutableDirectory();

// A fresh folder under the temporary folder, with a space in its name, removed with everything in it. Its
// path is whole and long, as the shell and the file dialogs give paths back, even where TEMP names the
// temporary folder in its 8.3 form (C:\Users\RUNNER~1\...).
class TempDirectory
{
  public:
    TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    ~TempDirectory();
    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::wstring& name) const { return m_path / name; }

  private:
    std::filesystem::path m_path;
};

// A copy of a file put in place for a test and removed when it goes.
class PlacedFile
{
  public:
    PlacedFile(const std::filesystem::path& from, std::filesystem::path to);
    PlacedFile(const PlacedFile&) = delete;
    PlacedFile& operator=(const PlacedFile&) = delete;
    ~PlacedFile();

  private:
    std::filesystem::path m_path;
};

// A file of the machine's own moved out of the way for a test, to a name beside it, and moved back when the
// test ends, over whatever the test put in its place. One that a test left aside when it did not end (a
// crash, a time-out) is moved back first. A file that cannot be moved aside is an exception; one that cannot
// be moved back, a failure of the test.
class FileSetAside
{
  public:
    explicit FileSetAside(std::filesystem::path path);
    FileSetAside(const FileSetAside&) = delete;
    FileSetAside& operator=(const FileSetAside&) = delete;
    ~FileSetAside();

    // Moves back the file at path that a test left aside when it did not end, if there is one.
    static void MoveBackLeftAside(const std::filesystem::path& path);

  private:
    std::filesystem::path m_path;
};

// Whether this process is refused paths past MAX_PATH. Windows allows them only where the program's manifest
// asks for them and the machine allows them (LongPathsEnabled); Wine has no such limit and no such setting.
bool MachineRefusesLongPaths();

// The number of open handles of this process. Wine's GetProcessHandleCount reports 0, so each possible
// handle value is asked.
std::size_t CountOpenHandles();

void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// The bytes of a text in the ANSI code page, as a list file holds paths whose characters it has; a text that
// has any other is an error of the test.
std::string AnsiBytes(const std::wstring& text);
std::string ReadBytes(const std::filesystem::path& path);
// The names in a folder, sorted.
std::vector<std::filesystem::path> FolderContents(const std::filesystem::path& folder);

// The test build of the stand-in signing tool, copied to "<temp>\tool folder\signtool.exe", with a journal
// of its calls. Each call is one line of arguments after the program name.
class StandinTool
{
  public:
    StandinTool();
    ~StandinTool();
    CString Path() const { return CString(m_tool.wstring()); }
    const TempDirectory& Folder() const { return m_folder; }
    // A file whose content scripts what the stand-in does when asked to sign it.
    CString Script(const std::wstring& name, const std::string& directives) const;
    std::vector<std::vector<std::wstring>> JournalCalls() const;
    // The file of each call, in order.
    std::vector<std::wstring> SignedFiles() const;
    const std::filesystem::path& Journal() const { return m_journal; }

  private:
    TempDirectory m_folder;
    std::filesystem::path m_tool;
    std::filesystem::path m_journal;
};
