#pragma once

#include "CString.h"

#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>

// The common open or save dialog, in the Vista style: the shell's Common Item Dialog, or the older common
// dialog where that cannot be created. The filter uses '|' between descriptions and patterns and ends with
// "||". The flags are those of the older dialog; OFN_FILEMUSTEXIST and OFN_OVERWRITEPROMPT carry over.
class CFileDialog
{
  public:
    CFileDialog(bool openFileDialog, const wchar_t* defaultExtension, const wchar_t* fileName, DWORD flags,
                const wchar_t* filter);

    // IDOK when a name was confirmed, IDCANCEL otherwise. The dialog is owned as DefaultModalOwner says, and
    // it leaves the process's current folder as it was.
    INT_PTR DoModal();
    CString GetPathName() const { return m_path; }

  private:
    // Nothing when the Common Item Dialog cannot be created.
    std::optional<INT_PTR> ShowItemDialog(HWND owner);
    INT_PTR ShowCommonDialog(HWND owner);

    bool m_open;
    CString m_defaultExtension;
    CString m_fileName;
    DWORD m_flags;
    std::wstring m_filter; // descriptions and patterns, each ended by a NUL, and one more NUL at the end
    CString m_path;
};
