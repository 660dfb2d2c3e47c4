#include "DynamicLayout.h"

void CDynamicLayout::Create(HWND dialog, std::span<const ControlAnchor> anchors)
{
    m_dialog = dialog;
    m_anchors = anchors;
    m_templateDpi = GetDpiForWindow(dialog);
    RECT client{};
    GetClientRect(dialog, &client);
    m_templateClient = {0, 0, client.right, client.bottom};
    m_templateRects.clear();
    for (const ControlAnchor& anchor : anchors)
    {
        RECT place{};
        GetWindowRect(GetDlgItem(dialog, anchor.controlId), &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        m_templateRects.push_back({place.left, place.top, place.right, place.bottom});
    }
}

LayoutRect CDynamicLayout::AtDpi(const LayoutRect& rect, UINT dpi) const
{
    const auto scale = [&](long value)
    { return MulDiv(value, static_cast<int>(dpi), static_cast<int>(m_templateDpi)); };
    return {scale(rect.left), scale(rect.top), scale(rect.right), scale(rect.bottom)};
}

void CDynamicLayout::Adjust() const
{
    if (!m_dialog || IsIconic(m_dialog))
        return;
    RECT client{};
    GetClientRect(m_dialog, &client);
    const UINT dpi = GetDpiForWindow(m_dialog);
    const LayoutRect templateClient = AtDpi(m_templateClient, dpi);
    // All controls move at once, with one repaint: none is ever seen half way.
    HDWP moves = BeginDeferWindowPos(static_cast<int>(m_anchors.size()));
    for (std::size_t i = 0; moves && i < m_anchors.size(); ++i)
    {
        const LayoutRect place =
            FollowDialogSize(AtDpi(m_templateRects[i], dpi), m_anchors[i],
                             client.right - templateClient.right, client.bottom - templateClient.bottom);
        // A failed step has given up the whole move itself.
        moves = DeferWindowPos(moves, GetDlgItem(m_dialog, m_anchors[i].controlId), nullptr, place.left,
                               place.top, place.right - place.left, place.bottom - place.top,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (moves)
        EndDeferWindowPos(moves);
}

void CDynamicLayout::LimitMinimumSize(MINMAXINFO& info) const
{
    if (!m_dialog)
        return;
    const UINT dpi = GetDpiForWindow(m_dialog);
    const LayoutRect client = AtDpi(m_templateClient, dpi);
    RECT window{0, 0, client.right, client.bottom};
    AdjustWindowRectExForDpi(&window, static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_EXSTYLE)), dpi);
    info.ptMinTrackSize = {window.right - window.left, window.bottom - window.top};
}
