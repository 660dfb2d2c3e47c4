#pragma once

#include "CString.h"

#include <windows.h>

// A window seen through its handle; it never owns or destroys the window.
class CWnd
{
  public:
    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}
    virtual ~CWnd() = default;

    CWnd GetDlgItem(int id) const { return CWnd(::GetDlgItem(m_hWnd, id)); }
    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
    void SetWindowTextW(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    // The whole window text, however long.
    CString GetWindowTextW() const;

    HWND m_hWnd = nullptr;
};

// An edit control.
class CEdit : public CWnd
{
};

// The string resource with this id from the program's own resources; empty when there is none.
CString LoadStringResource(UINT id);
