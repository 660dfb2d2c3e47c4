#pragma once

#include "WindowText.h"
#include "platform/UniqueHandle.h"

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// What a watcher read off a dialog window (a message box is one) before it pressed a button.
struct SeenDialog
{
    std::wstring caption;
    std::vector<std::wstring> texts; // the visible static texts, in window order
    bool hasIcon = false;
};

// Waits on its own thread for a visible dialog of the given thread, other than `except`, whose caption
// matches (any caption when empty), reads it, and presses the button with the given id, as a person would
// answer it.
class DialogWatcher
{
  public:
    DialogWatcher(DWORD threadId, std::wstring caption = L"", int button = IDOK, HWND except = nullptr);
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    ~DialogWatcher();

    // Stops watching and gives what was seen, if a dialog appeared.
    std::optional<SeenDialog> Finish();

  private:
    void Watch(DWORD threadId, const std::wstring& caption, int button, HWND except);

    std::atomic<bool> m_stop = false;
    UniqueHandle m_done; // set when the watch has ended
    std::optional<SeenDialog> m_seen;
    std::thread m_thread;
};
