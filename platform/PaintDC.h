#pragma once

#include "Wnd.h"

// Painting of a window from construction to destruction: BeginPaint and EndPaint, always paired.
class CPaintDC
{
  public:
    explicit CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd) { m_hDC = BeginPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC() { EndPaint(m_hWnd, &m_ps); }

    HDC GetSafeHdc() const { return m_hDC; }

    PAINTSTRUCT m_ps{};
    HDC m_hDC = nullptr;

  private:
    HWND m_hWnd;
};
