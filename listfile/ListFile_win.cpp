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
// a folder, or held open by another program. Tells whether the target exists.
bool RequireWritableTarget(const CString& path)
{
    const UniqueHfile target(
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (target)
        return true;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND)
        CFileException::ThrowOsError(error);
    return false;
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

// Puts the written list in the place of the one that was there, keeping that file's identity: its
// attributes, security, creation time and streams. The old file is set aside under a name of its own until
// the new one stands in its place, so that no failure loses it.
void ReplaceListFile(const CString& path, const CString& written)
{
    // Windows carries the attributes across by itself; Wine does not, so those a user sets go across here.
    constexpr DWORD kUserAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(written, (attributes & kUserAttributes) ? (attributes & kUserAttributes)
                                                                   : FILE_ATTRIBUTE_NORMAL);
    const CString setAside = TemporaryNameBeside(path);
    if (!ReplaceFileW(path, written, setAside, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    {
        const DWORD error = GetLastError();
        // The old file was set aside but the new one could not take its name: the old one goes back.
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
            MoveFileExW(setAside, path, 0);
        CFileException::ThrowOsError(error);
    }
    DeleteFileW(setAside);
}
} // namespace

void ReadListFile(const CString& path, CString& listText, CStringArray& files)
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
    const bool replacing = RequireWritableTarget(path);
    const CString temporary = TemporaryNameBeside(path);
    try
    {
        CStdioFile file(temporary, CStdioFile::modeCreate | CStdioFile::modeWrite);
        file.Write(bytes);
        file.Close();
        if (replacing)
            ReplaceListFile(path, temporary);
        else if (!MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            CFileException::ThrowOsError(GetLastError());
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

void SaveListWithDialog(const CString& listText)
{
    CFileDialog dialog(false, L"ksig", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       L"Signature Files (*.ksig)|*.ksig|All Files (*.*)|*.*||");
    if (dialog.DoModal() != IDOK)
        return;
    SaveListFileAndReport(dialog.GetPathName(), listText);
}
