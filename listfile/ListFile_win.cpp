#include "ListFile.h"

#include "../platform/FileDialog.h"
#include "../platform/MessageBox.h"
#include "../platform/StdioFile.h"
#include "../signing/FileList.h"
#include "ListFileFormat.h"

#include <windows.h>

#include <atomic>

namespace
{
// Refuses, before anything is written, a target that exists but cannot be opened for writing: read-only,
// a folder, or held open by another program.
void RequireWritableTarget(const CString& path)
{
    UniqueHandle target(NullIfInvalid(
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (target)
        return;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND)
        throw CFileException(CFileException::OsErrorToException(error), error);
}

CString TemporaryNameBeside(const CString& path)
{
    static std::atomic<unsigned> counter;
    const std::wstring& text = path.Str();
    const std::size_t slash = text.find_last_of(L"\\/");
    CString name;
    name.Format(L"%s~quorlin-%lu-%u.tmp",
                slash == std::wstring::npos ? L"" : text.substr(0, slash + 1).c_str(), GetCurrentProcessId(),
                counter++);
    return name;
}
} // namespace

void LoadListFile(const CString& path, CString& listText, CStringArray& files)
{
    if (path.IsEmpty())
        return;
    try
    {
        CStdioFile file(path, CStdioFile::modeRead);
        const std::string bytes = file.ReadToEnd();
        file.Close();
        listText = JoinFileList(ListFileLines(bytes));
        SplitFileList(listText, files);
    }
    catch (const CFileException&)
    {
        // An unreadable list file is ignored without a word, and the list stays as it was.
    }
}

void SaveListFile(const CString& path, const CString& listText)
{
    const std::string bytes = ListFileBytes(listText);
    RequireWritableTarget(path);
    const CString temporary = TemporaryNameBeside(path);
    try
    {
        CStdioFile file(temporary, CStdioFile::modeCreate | CStdioFile::modeWrite);
        file.Write(bytes);
        file.Close();
        if (!MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        {
            const DWORD error = GetLastError();
            throw CFileException(CFileException::OsErrorToException(error), error);
        }
    }
    catch (const CFileException&)
    {
        DeleteFileW(temporary);
        throw;
    }
}

void SaveListFileAndReport(const CString& path, const CString& listText)
{
    try
    {
        SaveListFile(path, listText);
        AfxMessageBox(L"File saved successfully!", MB_ICONINFORMATION);
    }
    catch (const CFileException& failure)
    {
        CString message;
        message.Format(L"Failed to save the file. Error code: %d", failure.m_cause);
        AfxMessageBox(message, MB_ICONERROR);
    }
}

void OnSave(const CString& listText)
{
    CFileDialog dialog(false, L"ksig", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       L"Signature Files (*.ksig)|*.ksig|All Files (*.*)|*.*||");
    if (dialog.DoModal() != IDOK)
        return;
    SaveListFileAndReport(dialog.GetPathName(), listText);
}
