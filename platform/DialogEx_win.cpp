#include "DialogEx.h"

#include "WinApp.h"

#include <utility>

void DDX_Text(CDataExchange* exchange, int id, CString& value)
{
    CWnd control = exchange->m_pDlgWnd->GetDlgItem(id);
    if (exchange->m_bSaveAndValidate)
        value = control.GetWindowTextW();
    // Setting an edit's text, even the same text, scrolls it to its top and drops the caret and the
    // selection: a push must leave the view the user is reading where it is.
    else if (control.GetWindowTextW() != value)
        control.SetWindowTextW(value);
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.m_hWnd = exchange->m_pDlgWnd->GetDlgItem(id).m_hWnd;
}

CDialogEx::CDialogEx(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

CDialogEx::~CDialogEx()
{
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

namespace
{
void CenterOver(HWND window, HWND owner)
{
    RECT area{};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &area);
    else
    {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    }
    RECT self{};
    GetWindowRect(window, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

bool CDialogEx::Create()
{
    m_endCode.reset();
    // The main window belongs to nobody; any other dialog without a parent to whom a box would.
    const CWinApp* application = AfxGetApp();
    const bool isMainWindow = application && application->m_pMainWnd == this;
    m_owner = m_parent ? m_parent->m_hWnd : isMainWindow ? nullptr : DefaultModalOwner();
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_owner,
                              DialogProcedure, reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR CDialogEx::DoModal()
{
    CWinApp* application = AfxGetApp();
    if (!application || !Create())
        return -1;
    const bool disableOwner = m_owner && ::IsWindowEnabled(m_owner);
    if (disableOwner)
        ::EnableWindow(m_owner, FALSE);
    // A template's visible window is shown already, maximized perhaps.
    if (!IsWindowVisible(m_hWnd))
        ShowWindow(m_hWnd, SW_SHOWNORMAL);
    while (!m_endCode)
    {
        if (!application->PumpMessage())
        {
            // The quit request belongs to the loop outside this dialog: end here and pass it on.
            PostQuitMessage(static_cast<int>(application->CurrentMessage().wParam));
            break;
        }
    }
    // The owner is enabled before this window goes, so that the activation returns to it.
    if (disableOwner)
        ::EnableWindow(m_owner, TRUE);
    // The window is the dialog's until it is gone: its handlers of WM_DESTROY still read it.
    DestroyWindow(m_hWnd);
    return m_endCode.value_or(-1);
}

void CDialogEx::EndDialog(INT_PTR result)
{
    m_endCode = result;
    if (m_hWnd)
        PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialogEx::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange{saveAndValidate != FALSE, this};
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CDialogEx::OnInitDialog()
{
    UpdateData(FALSE);
    CenterOver(m_hWnd, m_owner);
    return TRUE;
}

void CDialogEx::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialogEx::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialogEx::OnMessage(UINT message, WPARAM w, LPARAM, LRESULT& result)
{
    switch (message)
    {
    case WM_COMMAND:
        if (HIWORD(w) != BN_CLICKED)
            return false;
        if (LOWORD(w) == IDOK)
            OnOK();
        else if (LOWORD(w) == IDCANCEL)
            OnCancel();
        else
            return false;
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_SETCURSOR:
        if (!AfxGetApp() || !AfxGetApp()->IsWaitCursorShown())
            return false;
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        result = TRUE;
        return true;
    default:
        return false;
    }
}

INT_PTR CDialogEx::Route(UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    // A click from a disabled button is refused here for every way it can arrive. Windows' dialog manager
    // already refuses Escape and WM_CLOSE while the Cancel button is disabled; Wine's sends IDCANCEL anyway.
    if (message == WM_COMMAND && HIWORD(w) == BN_CLICKED)
    {
        const HWND control = ::GetDlgItem(m_hWnd, LOWORD(w));
        if (control && !::IsWindowEnabled(control))
        {
            MessageBeep(MB_OK);
            return TRUE;
        }
    }
    const bool outerDefault = std::exchange(m_defaultRequested, false);
    LRESULT result = 0;
    const bool handled = OnMessage(message, w, l, result);
    const bool wantsDefault = std::exchange(m_defaultRequested, outerDefault);
    if (!handled || wantsDefault)
        return FALSE;
    if (message == WM_QUERYDRAGICON)
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK CDialogEx::DialogProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    CDialogEx* dialog = nullptr;
    if (message == WM_INITDIALOG)
    {
        dialog = reinterpret_cast<CDialogEx*>(l);
        dialog->m_hWnd = window;
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    }
    else
        dialog = reinterpret_cast<CDialogEx*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    INT_PTR handled = FALSE;
    try
    {
        handled = dialog->Route(message, w, l);
    }
    catch (...)
    {
        // The window procedure is where failures stop: an exception must never unwind into Windows.
    }
    // The last message a window receives.
    if (message == WM_NCDESTROY)
    {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }
    return handled;
}
