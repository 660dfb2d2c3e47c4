#include "FileDialog.h"

#include "Com.h"
#include "WinApp.h"

#include <shobjidl.h>

#include <cwchar>
#include <vector>

CFileDialog::CFileDialog(bool openFileDialog, const wchar_t* defaultExtension, const wchar_t* fileName,
                         DWORD flags, const wchar_t* filter)
    : m_open(openFileDialog), m_defaultExtension(defaultExtension), m_fileName(fileName), m_flags(flags),
      m_filter(filter ? filter : L"")
{
    for (wchar_t& c : m_filter)
        if (c == L'|')
            c = L'\0';
}

INT_PTR CFileDialog::DoModal()
{
    const HWND owner = DefaultModalOwner();
    if (const std::optional<INT_PTR> result = ShowItemDialog(owner))
        return *result;
    return ShowCommonDialog(owner);
}

std::optional<INT_PTR> CFileDialog::ShowItemDialog(HWND owner)
{
    // __uuidof gives the class ids from the headers; the uuid library would bring thousands of others along.
    UniqueComPtr<IFileDialog> dialog;
    if (FAILED(CoCreateInstance(m_open ? __uuidof(FileOpenDialog) : __uuidof(FileSaveDialog), nullptr,
                                CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.Put()))))
        return std::nullopt;

    FILEOPENDIALOGOPTIONS options = 0;
    dialog.Get()->GetOptions(&options);
    options &= ~(FOS_FILEMUSTEXIST | FOS_OVERWRITEPROMPT);
    if (m_flags & OFN_FILEMUSTEXIST)
        options |= FOS_FILEMUSTEXIST;
    if (m_flags & OFN_OVERWRITEPROMPT)
        options |= FOS_OVERWRITEPROMPT;
    dialog.Get()->SetOptions(options | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);

    std::vector<COMDLG_FILTERSPEC> types;
    for (const wchar_t* at = m_filter.c_str(); *at;)
    {
        const wchar_t* pattern = at + std::wcslen(at) + 1;
        if (!*pattern)
            break;
        types.push_back({at, pattern});
        at = pattern + std::wcslen(pattern) + 1;
    }
    if (!types.empty())
    {
        dialog.Get()->SetFileTypes(static_cast<UINT>(types.size()), types.data());
        dialog.Get()->SetFileTypeIndex(1);
    }
    if (!m_defaultExtension.IsEmpty())
        dialog.Get()->SetDefaultExtension(m_defaultExtension);
    if (!m_fileName.IsEmpty())
        dialog.Get()->SetFileName(m_fileName);

    // Cancelling is a failure of Show like any other: no name was confirmed.
    UniqueComPtr<IShellItem> chosen;
    UniqueCoTaskMemText path;
    if (FAILED(dialog.Get()->Show(owner)) || FAILED(dialog.Get()->GetResult(chosen.Put())) ||
        FAILED(chosen.Get()->GetDisplayName(SIGDN_FILESYSPATH, path.Put())))
        return IDCANCEL;
    m_path = path.Get();
    return IDOK;
}

namespace
{
CString CurrentFolder()
{
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return CString(std::move(folder));
}
} // namespace

INT_PTR CFileDialog::ShowCommonDialog(HWND owner)
{
    // Room for the longest path Windows accepts, so no chosen name is cut.
    std::wstring path(32768, L'\0');
    path.replace(0, m_fileName.GetLength(), m_fileName.Str());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt =
        m_defaultExtension.IsEmpty() ? nullptr : static_cast<const wchar_t*>(m_defaultExtension);
    dialog.Flags = m_flags | OFN_EXPLORER | OFN_ENABLESIZING;
    // These dialogs move the process into the folder the user browsed, whatever OFN_NOCHANGEDIR says, and
    // the signing tool inherits the current folder: it is put back.
    const CString folder = CurrentFolder();
    const BOOL confirmed = m_open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    SetCurrentDirectoryW(folder);
    if (!confirmed)
        return IDCANCEL;
    path.resize(std::wcslen(path.c_str()));
    m_path = CString(std::move(path));
    return IDOK;
}
