#pragma once

#include <windows.h>

// A menu seen through its handle; it never destroys the menu.
class CMenu
{
  public:
    explicit CMenu(HMENU menu) : m_hMenu(menu) {}
    BOOL AppendMenuW(UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, id, text);
    }

    HMENU m_hMenu;
};
