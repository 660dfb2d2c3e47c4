#pragma once

#include "platform/UniqueHandle.h"
#include "windows/WindowText.h"

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A modal window of Quorlin's (a message box or a common file dialog) as the driver found it.
struct SeenWindow
{
    enum class Icon
    {
        None,
        Information,
        Warning,
        Error,
        Other
    };

    HWND window = nullptr;
    std::wstring caption;
    std::wstring text; // a message box's message
    Icon icon = Icon::None;
};

// Quorlin.exe run and used from outside, as a person would: started with chosen arguments, found by its
// caption, read and operated only through window messages, and closed (or, failing that, ended) at the end.
class QuorlinProcess
{
  public:
    // Started in the given folder, or in the driver's own when none is given.
    QuorlinProcess(const std::filesystem::path& program, const std::wstring& arguments,
                   const std::filesystem::path& folder = {});
    QuorlinProcess(const QuorlinProcess&) = delete;
    QuorlinProcess& operator=(const QuorlinProcess&) = delete;
    ~QuorlinProcess();

    // The main dialog, or null when it did not appear.
    HWND Window() const { return m_window; }
    std::wstring Text(int controlId) const;
    void Type(int controlId, const std::wstring& text) const;
    // Types text at the control's caret key by key, as the keyboard does: a line break is the character that
    // Ctrl+Enter types, since Enter alone presses Sign.
    void TypeKeys(int controlId, const std::wstring& text) const;
    // Moves the caret of an edit behind its last character, as a click there does.
    void PutCaretAtEnd(int controlId) const;
    // Puts text on the clipboard and pastes it at the control's caret, as Ctrl+V does; false when the
    // clipboard could not be had.
    [[nodiscard]] bool Paste(int controlId, const std::wstring& text) const;
    bool IsEnabled(int controlId) const;
    // Posts the command of a button as its click sends it, so that the driver stays free to watch what the
    // click starts. A click of the mouse would need the window to be active, which another program in front
    // of it (or the user at work there) may not allow, and it would move the keyboard focus into Quorlin.
    void Click(int controlId) const;
    void PressKey(int controlId, UINT virtualKey) const;
    void PostToWindow(UINT message, WPARAM w = 0, LPARAM l = 0) const;
    // Waits until the program has handled every message posted to it before this call; false when it does
    // not get there, its window gone or its thread held.
    bool WaitUntilPostsHandled() const;

    // Waits for a visible dialog of the program, other than the main one and other than `except`, whose
    // caption is given (any when empty), and reads it.
    std::optional<SeenWindow> WaitForWindow(const std::wstring& caption, HWND except = nullptr,
                                            DWORD milliseconds = 10000) const;
    // Whether a box has the button, wherever it lies in the box.
    static bool HasButton(const SeenWindow& box, int buttonId);
    // Answers a box (a message box, a dialog, a task dialog) by pressing one of its buttons, and waits until
    // the box is gone, so that a later wait for a window cannot find it still closing; false when it stays.
    [[nodiscard]] static bool Press(const SeenWindow& box, int buttonId);
    // Types a file name into a common file dialog's file-name box and confirms it. The dialog may stay, for a
    // question of its own such as whether to overwrite.
    static void ChooseFile(const SeenWindow& dialog, const std::wstring& path);

    // The program's visible top-level windows, topmost first.
    std::vector<HWND> VisibleWindows() const;

    bool WaitForExit(DWORD milliseconds) const;
    bool HasExited() const { return WaitForExit(0); }
    // Writes a PNG picture of the main dialog's client area as it draws itself, even behind another window.
    bool SaveScreenshot(const std::filesystem::path& path) const;

  private:
    HWND Item(int controlId) const { return GetDlgItem(m_window, controlId); }

    UniqueHandle m_process;
    UniqueHandle m_thread;
    DWORD m_processId = 0;
    HWND m_window = nullptr;
};

// A window of the driver's own, shown in the foreground: the user at work in another program.
UniqueWindow ShowForegroundWindow();

// A value under HKEY_CURRENT_USER, or nothing when it is not there.
std::optional<std::wstring> ReadUserString(const std::wstring& key, const wchar_t* name);
