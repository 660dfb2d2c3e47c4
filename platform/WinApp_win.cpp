#include "WinApp.h"

#include "ApplicationName.h"
#include "UniqueHandle.h"

#include <cwchar>
#include <string>

namespace
{
CWinApp* g_application = nullptr;

bool IsDialogWindow(HWND window)
{
    wchar_t className[8] = {};
    return GetClassNameW(window, className, 8) && std::wstring(className) == L"#32770";
}
} // namespace

CWinApp::CWinApp(const wchar_t* appName) : m_appName(appName ? CString(appName) : AfxGetAppName())
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
    // Quorlin's InitInstance runs its dialog to the end and returns FALSE, so there is no loop to run here.
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
    if (m_registryKey.IsEmpty())
        return defaultValue;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ProfileSectionKey(section), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return defaultValue;
    UniqueHkey key(opened);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return defaultValue;
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return defaultValue;
    // The stored data need not end with a NUL, and may hold one early: the text ends at whichever comes
    // first.
    value.resize(size / sizeof(wchar_t));
    value.resize(std::wcslen(value.c_str()));
    return CString(std::move(value));
}

bool CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const CString& value)
{
    if (m_registryKey.IsEmpty())
        return false;
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ProfileSectionKey(section), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &created, nullptr) != ERROR_SUCCESS)
        return false;
    UniqueHkey key(created);
    const DWORD bytes = static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.Get(), entry, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(static_cast<const wchar_t*>(value)),
                          bytes) == ERROR_SUCCESS;
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
