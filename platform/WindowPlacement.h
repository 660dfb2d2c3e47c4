#pragma once

#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#endif

// Where a window is to open next time: its place and size when it is not maximized, in the workspace
// coordinates of GetWindowPlacement, the DPI of the monitor it was on, and whether it was maximized.
struct SavedPlacement
{
    long left;
    long top;
    long right;
    long bottom;
    unsigned dpi;
    bool maximized;
    bool operator==(const SavedPlacement&) const = default;
};

// A placement as the profile keeps it: "left,top,right,bottom,dpi,normal" or "...,maximized".
std::wstring PlacementText(const SavedPlacement& placement);
// The placement that a profile text holds; nothing for a text that holds none, so that a value spoilt or
// written by someone else is ignored.
std::optional<SavedPlacement> PlacementFromText(std::wstring_view text);

#ifdef _WIN32
// The window's placement as it is now; a window closed while minimized opens as it was before.
std::optional<SavedPlacement> WindowPlacementOf(HWND window);
// Puts a window that is being created at a saved placement; false, leaving it where it is, when the place
// lies on no monitor that exists now (one removed since) or on one whose scaling has changed since.
bool RestoreWindowPlacement(HWND window, const SavedPlacement& placement);
#endif
