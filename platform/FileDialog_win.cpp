#include "FileDialog.h"

#include <commdlg.h>

#include <cwchar>
#include <string>

CFileDialog::CFileDialog(bool openFileDialog, const wchar_t* defaultExtension, const wchar_t* fileName,
                         DWORD flags, const wchar_t* filter)
    : m_open(openFileDialog), m_defaultExtension(defaultExtension), m_fileName(fileName), m_flags(flags),
      m_filter(filter ? filter : L"")
{
    // The dialog wants each description and pattern ended by a NUL, and the list by one more.
    for (wchar_t& c : m_filter)
        if (c == L'|')
            c = L'\0';
}

INT_PTR CFileDialog::DoModal()
{
    // Room for the longest path Windows accepts, so no chosen name is cut.
    std::wstring path(32768, L'\0');
    path.replace(0, m_fileName.GetLength(), m_fileName.Str());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt =
        m_defaultExtension.IsEmpty() ? nullptr : static_cast<const wchar_t*>(m_defaultExtension);
    dialog.Flags = m_flags | OFN_EXPLORER | OFN_ENABLESIZING;
    const BOOL confirmed = m_open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!confirmed)
        return IDCANCEL;
    path.resize(std::wcslen(path.c_str()));
    m_path = CString(std::move(path));
    return IDOK;
}
