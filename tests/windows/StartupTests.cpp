#include "DisposableMachine.h"
#include "Eventually.h"
#include "RegistryScratch.h"
#include "TestFiles.h"
#include "WindowText.h"
#include "listfile/Association.h"
#include "ui/resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace
{
// The visible main dialog of the given process, once it has appeared.
HWND WaitForMainWindow(DWORD processId)
{
    HWND found = nullptr;
    Eventually(
        [&]
        {
            for (const HWND window : VisibleWindows(processId))
                if (WindowText(window) == L"SignTool GUI")
                    found = window;
            return found != nullptr;
        },
        10000);
    return found;
}

std::wstring DefaultValue(HKEY root, const std::wstring& path)
{
    wchar_t text[2048] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

// Quorlin.exe started with the given arguments; its dialog is closed, and the program waited for, at the end.
class RunningQuorlin
{
  public:
    RunningQuorlin(const std::filesystem::path& program, const std::wstring& arguments)
    {
        std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return;
        m_process.Attach(process.hProcess);
        m_thread.Attach(process.hThread);
        m_processId = process.dwProcessId;
        m_window = WaitForMainWindow(m_processId);
    }
    RunningQuorlin(const RunningQuorlin&) = delete;
    RunningQuorlin& operator=(const RunningQuorlin&) = delete;
    ~RunningQuorlin()
    {
        if (m_window)
            CloseAndWait();
        if (m_process && WaitForSingleObject(m_process.Get(), 0) != WAIT_OBJECT_0)
            TerminateProcess(m_process.Get(), 1);
    }

    HWND Window() const { return m_window; }
    // The program's visible windows, once it has done all it does on its own at start and waits for input.
    std::vector<HWND> WindowsWhenIdle() const
    {
        EXPECT_EQ(WaitForInputIdle(m_process.Get(), 20000), 0u);
        return VisibleWindows(m_processId);
    }
    // Closes the dialog and tells whether the program then ended.
    bool CloseAndWait()
    {
        PostMessageW(std::exchange(m_window, nullptr), WM_CLOSE, 0, 0);
        return WaitForSingleObject(m_process.Get(), 20000) == WAIT_OBJECT_0;
    }

  private:
    UniqueHandle m_process;
    UniqueHandle m_thread;
    DWORD m_processId = 0;
    HWND m_window = nullptr;
};

TEST(QuorlinExe, StartsWithAListFileRegistersTheAssociationAndEndsWhenClosed)
{
    if (!IsDisposableMachine())
        GTEST_SKIP() << NotDisposable("the user's .ksig association");
    RegistryScratch extension(HKEY_CURRENT_USER, L"Software\\Classes\\.ksig");
    RegistryScratch progId(HKEY_CURRENT_USER, L"Software\\Classes\\Quorlin.sigfile");
    TempDirectory folder;
    const std::filesystem::path list = folder / L"release list.KSIG";
    WriteBytes(list, "C:\\Build\\app.exe\r\nC:\\Build\\lib.dll");
    const std::filesystem::path program = ExecutableDirectory() / L"Quorlin.exe";

    RunningQuorlin quorlin(program, L"\"" + list.wstring() + L"\"");
    ASSERT_TRUE(quorlin.Window()) << "the main dialog did not appear";
    EXPECT_EQ(ControlText(GetDlgItem(quorlin.Window(), IDC_FILE_LIST)),
              L"C:\\Build\\app.exe\r\nC:\\Build\\lib.dll")
        << "the list is there when the window first appears";

    EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, L"Software\\Classes\\.ksig"), L"Quorlin.sigfile");
    EXPECT_EQ(DefaultValue(HKEY_CURRENT_USER, L"Software\\Classes\\Quorlin.sigfile\\shell\\open\\command"),
              L"\"" + program.wstring() + L"\" \"%1\"");
    EXPECT_EQ(DefaultValue(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.ksig"), L"<missing>");
    EXPECT_EQ(DefaultValue(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Quorlin.sigfile\\shell\\open\\command"),
              L"<missing>");

    EXPECT_TRUE(quorlin.CloseAndWait()) << "closing the dialog ends the program";
}

TEST(QuorlinExe, AnUnreadableListFileOnTheCommandLineOpensAnEmptyList)
{
    if (!IsDisposableMachine())
        GTEST_SKIP() << NotDisposable("the user's .ksig association and Quorlin settings");
    TempDirectory folder;
    std::filesystem::create_directories(folder / L"folder.ksig");
    RunningQuorlin quorlin(ExecutableDirectory() / L"Quorlin.exe",
                           L"\"" + (folder / L"folder.ksig").wstring() + L"\"");
    ASSERT_TRUE(quorlin.Window());
    EXPECT_EQ(ControlText(GetDlgItem(quorlin.Window(), IDC_FILE_LIST)), L"");
    EXPECT_EQ(quorlin.WindowsWhenIdle(), std::vector<HWND>{quorlin.Window()}) << "no message box was shown";
    EXPECT_TRUE(IsWindowEnabled(quorlin.Window()));
    EXPECT_TRUE(quorlin.CloseAndWait()) << "the program works and closes as usual";
}

// Explorer caches associations: it must be told of a new one (that an ordinary start, which changes nothing,
// costs no broadcast is a rule of AssociationChanges). A window of the test's own hears the shell's notices,
// as Explorer does; the shell may send them or post them.
TEST(Association, TheShellIsToldOfANewAssociation)
{
    const RedirectedRegistry registry;
    constexpr UINT kNotice = WM_APP + 1;
    std::vector<LONG> heard;
    WNDCLASSW listening{};
    listening.lpszClassName = L"Quorlin test: the shell's notices";
    listening.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT
    {
        if (message != kNotice)
            return DefWindowProcW(window, message, w, l);
        PIDLIST_ABSOLUTE* items = nullptr;
        LONG event = 0;
        if (const HANDLE lock =
                SHChangeNotification_Lock(reinterpret_cast<HANDLE>(w), static_cast<DWORD>(l), &items, &event))
        {
            reinterpret_cast<std::vector<LONG>*>(GetWindowLongPtrW(window, GWLP_USERDATA))->push_back(event);
            SHChangeNotification_Unlock(lock);
        }
        return 0;
    };
    RegisterClassW(&listening);
    const UniqueWindow listener(
        CreateWindowExW(0, listening.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    SetWindowLongPtrW(listener.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&heard));
    PIDLIST_ABSOLUTE desktop = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop)));
    const SHChangeNotifyEntry everywhere{desktop, TRUE};
    const ULONG registration = SHChangeNotifyRegister(listener.Get(), SHCNRF_ShellLevel | SHCNRF_NewDelivery,
                                                      SHCNE_ASSOCCHANGED, kNotice, 1, &everywhere);
    ASSERT_NE(registration, 0u);
    RegisterListFileType();
    EXPECT_TRUE(Eventually(
        [&]
        {
            MSG message;
            while (PeekMessageW(&message, listener.Get(), 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            return std::find(heard.begin(), heard.end(), SHCNE_ASSOCCHANGED) != heard.end();
        }))
        << "the shell was not told of the new association";
    SHChangeNotifyDeregister(registration);
    CoTaskMemFree(desktop);
}
} // namespace
