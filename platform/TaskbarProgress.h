#pragma once

#include "Com.h"

#include <shobjidl.h>

#include <cstddef>

// Progress shown on a window's taskbar button, as Explorer shows a copy's. Windows tells a window when its
// button is in place (the message TaskbarButtonCreated, also after Explorer restarts), and the taskbar may
// be asked only from then on. Where the taskbar cannot be had (no shell running, a system without it),
// nothing is shown and nothing fails.
class CTaskbarProgress
{
  public:
    // The message Windows sends once the window's taskbar button is in place.
    static UINT ButtonCreatedMessage();
    // Lets that message reach the window from Explorer, which runs unelevated: Windows keeps it from an
    // elevated window otherwise. Drops stay kept from it, as Windows keeps them.
    static void AcceptButtonCreated(HWND window);
    // Takes the taskbar anew: called on the message above.
    void OnButtonCreated(HWND window);
    void Show(std::size_t done, std::size_t total);
    void Clear();

  private:
    HWND m_window = nullptr;
    UniqueComPtr<ITaskbarList3> m_taskbar;
};
