#include "WinApp.h"

#include "ExecutablePath.h"
#include "RegistryKey.h"

#include <string>

namespace
{
CWinApp* g_application = nullptr;

bool IsDialogWindow(HWND window)
{
    wchar_t className[8] = {};
    return GetClassNameW(window, className, 8) && std::wstring(className) == L"#32770";
}

// The executable's file name without its extension.
CString NameOfExecutable()
{
    std::wstring name = ExecutablePath().Str();
    name.erase(0, name.find_last_of(L"\\/") + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return CString(std::move(name));
}
} // namespace

CWinApp::CWinApp(const wchar_t* appName) : m_appName(appName ? CString(appName) : NameOfExecutable())
{
    g_application = this;
}

CWinApp::~CWinApp()
{
    if (g_application == this)
        g_application = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_application;
}

CString AfxGetAppName()
{
    return g_application ? g_application->AppName() : CString();
}

HWND DefaultModalOwner()
{
    const CWinApp* application = AfxGetApp();
    const HWND mainWindow =
        application && application->m_pMainWnd ? application->m_pMainWnd->m_hWnd : nullptr;
    return mainWindow && IsWindow(mainWindow) ? GetLastActivePopup(mainWindow) : GetActiveWindow();
}

BOOL CWinApp::InitInstance()
{
    if (m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART)
        RegisterApplicationRestart(nullptr, 0);
    return TRUE;
}

int AfxWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    // An application that runs a loop of its own, a dialog's, does so inside InitInstance; this layer has
    // none to offer after it, so whatever InitInstance returns, the application ends here.
    if (CWinApp* application = AfxGetApp())
        application->InitInstance();
    return 0;
}

void CWinApp::SetRegistryKey(const wchar_t* key)
{
    m_registryKey = key;
}

CString CWinApp::ProfileSectionKey(const wchar_t* section) const
{
    return L"Software\\" + m_registryKey + L"\\" + m_appName + L"\\" + section;
}

CString CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry,
                                  const wchar_t* defaultValue) const
{
    RegistryKey key;
    CString value;
    if (m_registryKey.IsEmpty() ||
        key.Open(HKEY_CURRENT_USER, ProfileSectionKey(section), KEY_READ) != ERROR_SUCCESS ||
        key.QueryString(entry, value) != ERROR_SUCCESS)
        return defaultValue;
    return value;
}

bool CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const CString& value)
{
    RegistryKey key;
    return !m_registryKey.IsEmpty() &&
           key.Create(HKEY_CURRENT_USER, ProfileSectionKey(section), KEY_WRITE) == ERROR_SUCCESS &&
           key.SetString(entry, value) == ERROR_SUCCESS;
}

void CWinApp::BeginWaitCursor()
{
    if (m_waitCursorCount++ == 0)
        m_cursorBeforeWait = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    else
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void CWinApp::EndWaitCursor()
{
    if (m_waitCursorCount == 0)
        return;
    if (--m_waitCursorCount == 0)
        SetCursor(m_cursorBeforeWait ? m_cursorBeforeWait : LoadCursorW(nullptr, IDC_ARROW));
}

bool CWinApp::PumpMessage()
{
    const BOOL got = GetMessageW(&m_currentMessage, nullptr, 0, 0);
    if (got == 0)
        return false;
    if (got < 0)
        return true;
    // Tab, Enter and Escape belong to the dialog that holds the window the message is for.
    const HWND root = m_currentMessage.hwnd ? GetAncestor(m_currentMessage.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogWindow(root) && IsDialogMessageW(root, &m_currentMessage))
        return true;
    TranslateMessage(&m_currentMessage);
    DispatchMessageW(&m_currentMessage);
    return true;
}
