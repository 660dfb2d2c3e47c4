#pragma once

#include <windows.h>

// Work that must not be cut short, held against the end of the session and against sleep, as Windows asks
// of a program that must finish its work: while it lasts, Windows shows the reason when the user signs out,
// restarts or shuts down, the program refuses the session's end, and the machine stays awake.
class CSessionHold
{
  public:
    CSessionHold() = default;
    CSessionHold(const CSessionHold&) = delete;
    CSessionHold& operator=(const CSessionHold&) = delete;
    ~CSessionHold() { End(); }

    void Begin(HWND window, const wchar_t* reason);
    void End();
    // The answer to WM_QUERYENDSESSION: the session may end at once unless work is held.
    bool AllowsSessionEnd() const { return m_window == nullptr; }

  private:
    HWND m_window = nullptr;
};
