#include "WindowPlacement.h"

#include <shellscalingapi.h>

namespace
{
// Workspace coordinates count from the primary monitor's work area, screen coordinates from the monitor
// itself: they differ where the taskbar lies at its top or left.
POINT WorkspaceOrigin()
{
    MONITORINFO primary{};
    primary.cbSize = sizeof(primary);
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    return {primary.rcWork.left, primary.rcWork.top};
}
} // namespace

std::optional<SavedPlacement> WindowPlacementOf(HWND window)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement))
        return std::nullopt;
    const RECT& normal = placement.rcNormalPosition;
    const bool maximized =
        placement.showCmd == SW_SHOWMAXIMIZED ||
        (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED));
    return SavedPlacement{normal.left, normal.top, normal.right, normal.bottom, GetDpiForWindow(window),
                          maximized};
}

bool RestoreWindowPlacement(HWND window, const SavedPlacement& saved)
{
    const RECT normal{saved.left, saved.top, saved.right, saved.bottom};
    RECT onScreen = normal;
    const POINT origin = WorkspaceOrigin();
    OffsetRect(&onScreen, origin.x, origin.y);
    // A size in pixels of another scaling would no longer fit what the window shows.
    const HMONITOR monitor = MonitorFromRect(&onScreen, MONITOR_DEFAULTTONULL);
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (!monitor || FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) || dpiX != saved.dpi)
        return false;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement))
        return false;
    placement.flags = 0;
    placement.rcNormalPosition = normal;
    // A window still being created is shown by its creator; a maximized one is shown so at once, and its
    // creator then leaves it as it is.
    placement.showCmd = saved.maximized           ? SW_SHOWMAXIMIZED
                        : IsWindowVisible(window) ? SW_SHOWNORMAL
                                                  : SW_HIDE;
    return SetWindowPlacement(window, &placement) != FALSE;
}
