#pragma once

#include "CString.h"

#include <windows.h>

#include <commdlg.h>

#include <string>

// The common open or save dialog. The filter uses '|' between descriptions and patterns and ends with "||".
class CFileDialog
{
  public:
    CFileDialog(bool openFileDialog, const wchar_t* defaultExtension, const wchar_t* fileName, DWORD flags,
                const wchar_t* filter);

    // IDOK when a name was confirmed, IDCANCEL otherwise; the dialog is owned by the active window.
    INT_PTR DoModal();
    CString GetPathName() const { return m_path; }

  private:
    bool m_open;
    CString m_defaultExtension;
    CString m_fileName;
    DWORD m_flags;
    std::wstring m_filter;
    CString m_path;
};
