#include "ListFile.h"

#include "../platform/FileDialog.h"
#include "../platform/FullPath.h"
#include "../platform/MessageBox.h"
#include "../platform/StdioFile.h"
#include "../signing/FileList.h"
#include "ListFileFormat.h"

#include <windows.h>

#include <objbase.h>

#include <new>
#include <string>

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

// A name beside path that no one can know before it is chosen: another user of a shared folder cannot leave
// a file, or a link to one of this user's, under it in advance. Such a name is longer than most, so it is
// given in the extended-length form: it works in every folder where the list's own path fits within
// MAX_PATH, as on a machine that does not allow longer paths.
CString UnpredictableNameBeside(const CString& path)
{
    GUID random{};
    CoCreateGuid(&random);
    wchar_t text[39] = L"";
    StringFromGUID2(random, text, 39);
    const std::wstring whole = FullPath(path).Str();
    const std::size_t slash = whole.find_last_of(L'\\');
    return ExtendedLengthPath(CString(whole.substr(0, slash + 1) + L"~quorlin-" + text + L".tmp"));
}

// A file that lies under a chosen name already is never opened: it is made new, and another name is tried.
constexpr int kNamesToTry = 16;

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
    CString setAside = UnpredictableNameBeside(path);
    for (int tried = 1; tried < kNamesToTry && GetFileAttributesW(setAside) != INVALID_FILE_ATTRIBUTES;
         ++tried)
        setAside = UnpredictableNameBeside(path);
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

bool ReadListFile(const CString& path, CString& listText, CStringArray& files)
{
    if (path.IsEmpty())
        return false;
    try
    {
        CStdioFile file(path, CStdioFile::modeRead);
        const std::string bytes = file.ReadToEnd();
        file.Close();
        listText = JoinFileList(ListFileLines(bytes));
        SplitFileList(listText, files);
        return true;
    }
    catch (const CFileException&)
    {
        // An unreadable list file is ignored without a word, and the list stays as it was.
    }
    catch (const std::bad_alloc&)
    {
        // So is one too large to hold in memory: at start-up it would otherwise end the program.
    }
    return false;
}

// The scratch file beside path that a save writes first, made new. Its name goes to temporary once the file
// is the save's own, never before: a failure must not remove a file that lay there already.
CStdioFile CreateScratchFileBeside(const CString& path, CString& temporary)
{
    for (int tried = 1;; ++tried)
    {
        const CString name = UnpredictableNameBeside(path);
        try
        {
            CStdioFile created(name, CStdioFile::modeCreateNew | CStdioFile::modeWrite);
            temporary = name;
            return created;
        }
        catch (const CFileException& failure)
        {
            if (failure.m_lOsError != ERROR_FILE_EXISTS || tried == kNamesToTry)
                throw;
        }
    }
}

void SaveListFile(const CString& path, const CString& listText)
{
    // A text that cannot be written is a failed save, told before anything on disk is touched: an empty file
    // must never pass for the list. Nothing has been written, so it is no full disk.
    const std::optional<std::string> bytes = ListFileBytes(listText);
    if (!bytes)
        throw CFileException(CFileException::genericException, ERROR_NO_UNICODE_TRANSLATION);
    const bool replacing = RequireWritableTarget(path);
    CString temporary;
    try
    {
        CStdioFile file = CreateScratchFileBeside(path, temporary);
        file.Write(*bytes);
        file.Close();
        if (replacing)
            ReplaceListFile(path, temporary);
        else if (!MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            CFileException::ThrowOsError(GetLastError());
    }
    catch (const CFileException&)
    {
        if (!temporary.IsEmpty())
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
