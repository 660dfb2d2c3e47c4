#include "DialogWatcher.h"

namespace
{
struct Search
{
    const std::wstring* caption;
    HWND except;
    HWND found;
};

HWND FindDialog(DWORD threadId, const std::wstring& caption, HWND except)
{
    Search search{&caption, except, nullptr};
    EnumThreadWindows(
        threadId,
        [](HWND window, LPARAM context)
        {
            auto& search = *reinterpret_cast<Search*>(context);
            if (window != search.except && ClassName(window) == L"#32770" && IsWindowVisible(window) &&
                (search.caption->empty() || WindowText(window) == *search.caption))
            {
                search.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SeenDialog Read(HWND dialog)
{
    SeenDialog seen;
    seen.caption = WindowText(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (ClassName(child) != L"Static" || !IsWindowVisible(child))
            continue;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            seen.hasIcon = seen.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (GetWindowTextLengthW(child) > 0)
            seen.texts.push_back(WindowText(child));
    }
    return seen;
}
} // namespace

DialogWatcher::DialogWatcher(DWORD threadId, std::wstring caption, int button, HWND except)
    : m_done(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_thread(
          [this, threadId, caption = std::move(caption), button, except]
          {
              Watch(threadId, caption, button, except);
              SetEvent(m_done.Get());
          })
{
}

DialogWatcher::~DialogWatcher()
{
    Finish();
}

void DialogWatcher::Watch(DWORD threadId, const std::wstring& caption, int button, HWND except)
{
    for (int tries = 0; tries < 400 && !m_stop; ++tries)
    {
        if (const HWND dialog = FindDialog(threadId, caption, except))
        {
            m_seen = Read(dialog);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
            return;
        }
        Sleep(25);
    }
}

std::optional<SeenDialog> DialogWatcher::Finish()
{
    m_stop = true;
    // Reading a caption or a text of the watched thread's windows sends it a message. When that thread is
    // this one, it must answer while it waits, or both wait for ever.
    const HANDLE done = m_done.Get();
    MSG message;
    do
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    while (MsgWaitForMultipleObjectsEx(1, &done, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE) ==
           WAIT_OBJECT_0 + 1);
    if (m_thread.joinable())
        m_thread.join();
    return m_seen;
}
