#include "PrintCString.h"
#include "platform/ApplicationName.h"
#include "signing/SignOneFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace
{
// What a watcher read off a message box window before it pressed OK.
struct SeenBox
{
    std::wstring caption;
    std::wstring text;
    bool hasIcon = false;
};

HWND FindMessageBoxOf(DWORD threadId)
{
    HWND found = nullptr;
    EnumThreadWindows(
        threadId,
        [](HWND window, LPARAM result)
        {
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (std::wstring(className) == L"#32770" && IsWindowVisible(window))
            {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Reads the box's caption, its message and whether it shows an icon, then presses its OK button.
SeenBox ReadAndCloseBox(HWND box)
{
    SeenBox seen;
    seen.caption = WindowText(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (std::wstring(className) != L"Static" || !IsWindowVisible(child))
            continue;
        if (GetWindowLongW(child, GWL_STYLE) & SS_ICON)
            seen.hasIcon = seen.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (GetWindowTextLengthW(child) > 0)
            seen.text = WindowText(child);
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return seen;
}

TEST(RealMessageBox, ARealBoxShowsTheTextUnderTheApplicationsNameAndWaitsForOk)
{
    const DWORD guiThread = GetCurrentThreadId();
    std::atomic<bool> done = false;
    SeenBox seen;
    std::thread watcher(
        [&]
        {
            for (int tries = 0; tries < 200 && !done; ++tries)
            {
                if (HWND box = FindMessageBoxOf(guiThread))
                {
                    seen = ReadAndCloseBox(box);
                    return;
                }
                Sleep(50);
            }
        });

    CString output = L"untouched";
    const bool started = SignOneFile(L"C:\\a.exe", output, L"C:\\windows\\no-such-signtool.exe");
    done = true;
    watcher.join();

    EXPECT_FALSE(started);
    EXPECT_EQ(seen.text, L"Failed to execute signtool.exe. Error code: 2");
    EXPECT_EQ(seen.caption, AfxGetAppName().Str());
    EXPECT_FALSE(seen.hasIcon) << "type 0 boxes carry no icon";
}
} // namespace
