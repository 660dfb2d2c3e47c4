#include "DynamicLayout.h"

void CDynamicLayout::Create(HWND dialog, std::span<const ControlAnchor> anchors)
{
    // The dialog paints around its controls, never over them: a control that has moved is painted once, by
    // itself, in its new place.
    SetWindowLongPtrW(dialog, GWL_STYLE, GetWindowLongPtrW(dialog, GWL_STYLE) | WS_CLIPCHILDREN);
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

LayoutRect CDynamicLayout::AtCurrentDpi(const LayoutRect& rect) const
{
    const int dpi = static_cast<int>(GetDpiForWindow(m_dialog));
    const int templateDpi = static_cast<int>(m_templateDpi);
    return {MulDiv(rect.left, dpi, templateDpi), MulDiv(rect.top, dpi, templateDpi),
            MulDiv(rect.right, dpi, templateDpi), MulDiv(rect.bottom, dpi, templateDpi)};
}

void CDynamicLayout::Adjust() const
{
    if (!m_dialog || IsIconic(m_dialog))
        return;
    RECT client{};
    GetClientRect(m_dialog, &client);
    const LayoutRect templateClient = AtCurrentDpi(m_templateClient);
    for (std::size_t i = 0; i < m_anchors.size(); ++i)
    {
        const LayoutRect place =
            FollowDialogSize(AtCurrentDpi(m_templateRects[i]), m_anchors[i],
                             client.right - templateClient.right, client.bottom - templateClient.bottom);
        SetWindowPos(GetDlgItem(m_dialog, m_anchors[i].controlId), nullptr, place.left, place.top,
                     place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
}

void CDynamicLayout::LimitMinimumSize(MINMAXINFO& info) const
{
    if (!m_dialog)
        return;
    const LayoutRect client = AtCurrentDpi(m_templateClient);
    RECT window{0, 0, client.right, client.bottom};
    AdjustWindowRectExForDpi(&window, static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_EXSTYLE)),
                             GetDpiForWindow(m_dialog));
    info.ptMinTrackSize = {window.right - window.left, window.bottom - window.top};
}
