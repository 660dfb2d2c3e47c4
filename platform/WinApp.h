#pragma once

#include "CString.h"
#include "Wnd.h"

#include <windows.h>

// The restart manager may restart the application after an update or a hang; nothing is recovered.
inline constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;

// The application object: its start-up, its name, its profile in the registry, the busy cursor and message
// pumping. Exactly one exists; AfxGetApp returns it.
class CWinApp
{
  public:
    // A null name means the executable's file name without its extension.
    explicit CWinApp(const wchar_t* appName = nullptr);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    const CString& AppName() const { return m_appName; }

    // The application's own start-up, run by AfxWinMain. The base declares restart support to Windows as
    // m_dwRestartManagerSupportFlags asks. Returning FALSE ends the application without a message loop.
    virtual BOOL InitInstance();

    // Moves the profile to HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(const wchar_t* key);
    // A REG_SZ value of the section, or defaultValue when it, its key or the registry key setting is missing.
    CString GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue) const;
    // Stores value as REG_SZ, creating the keys as needed; false when that failed.
    bool WriteProfileString(const wchar_t* section, const wchar_t* entry, const CString& value);

    // The busy cursor from the first call to the matching end; calls nest.
    void BeginWaitCursor();
    void EndWaitCursor();
    bool IsWaitCursorShown() const { return m_waitCursorCount > 0; }

    // Takes the next message, lets its dialog handle dialog keys, and dispatches it. false when the message
    // taken was WM_QUIT, whose exit code is then in CurrentMessage().wParam.
    bool PumpMessage();
    const MSG& CurrentMessage() const { return m_currentMessage; }

    CWnd* m_pMainWnd = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;

  private:
    CString ProfileSectionKey(const wchar_t* section) const;

    CString m_appName;
    CString m_registryKey;
    int m_waitCursorCount = 0;
    HCURSOR m_cursorBeforeWait = nullptr;
    MSG m_currentMessage{};
};

CWinApp* AfxGetApp();

// The busy cursor for as long as the object lives.
class CWaitCursor
{
  public:
    CWaitCursor()
    {
        if (CWinApp* application = AfxGetApp())
            application->BeginWaitCursor();
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor()
    {
        if (CWinApp* application = AfxGetApp())
            application->EndWaitCursor();
    }
};

// The application object's name: the one it was given, or its executable's file name without the extension.
CString AfxGetAppName();

// The owner of a modal box or dialog opened without a parent: the main window's last active popup (the main
// window itself when none is up), or the thread's active window while there is no main window. Only an owner
// keeps the box modal, with no taskbar button of its own, when the program is not in the foreground.
HWND DefaultModalOwner();

// The program's entry, given the arguments of wWinMain: runs the application object's InitInstance.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
