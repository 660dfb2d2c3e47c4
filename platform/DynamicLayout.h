#pragma once

#ifdef _WIN32
#include <windows.h>

#include <span>
#include <vector>
#endif

// A control's rectangle in a dialog's client area, in pixels.
struct LayoutRect
{
    long left;
    long top;
    long right;
    long bottom;
    bool operator==(const LayoutRect&) const = default;
};

// How one control follows the size of its dialog. Each edge moves by a share of the room that the client
// area has beyond the template's size, counted in halves: 0 keeps the edge where the template has it, 1 moves
// it by half the room, 2 by all of it.
struct ControlAnchor
{
    int controlId;
    int left;
    int top;
    int right;
    int bottom;
};

// Where a control lies, given its place in the template and the room beyond the template's size. A client
// area smaller than the template's gives no room: the controls keep the template's places.
LayoutRect FollowDialogSize(const LayoutRect& templateRect, const ControlAnchor& anchor, long extraWidth,
                            long extraHeight);

#ifdef _WIN32
// A dialog's controls following its size by a table of anchors, from the template's layout, which is also the
// smallest size that the user can give the window. The layout holds at every DPI: the template's places are
// scaled from the DPI the window was made at to the one it has now.
class CDynamicLayout
{
  public:
    // Remembers the template's layout; called while the controls are where the template puts them.
    void Create(HWND dialog, std::span<const ControlAnchor> anchors);
    // Lays the controls out for the client area's size; nothing before Create or while minimized.
    void Adjust() const;
    // Makes the template's size the smallest that the window can be given.
    void LimitMinimumSize(MINMAXINFO& info) const;

  private:
    LayoutRect AtDpi(const LayoutRect& rect, UINT dpi) const;

    HWND m_dialog = nullptr;
    std::span<const ControlAnchor> m_anchors;
    std::vector<LayoutRect> m_templateRects;
    LayoutRect m_templateClient{};
    UINT m_templateDpi = USER_DEFAULT_SCREEN_DPI;
};
#endif
