#include "Wnd.h"

#include <string>

CString CWnd::GetWindowTextW() const
{
    const int length = GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(m_hWnd, text.data(), length + 1)));
    return CString(std::move(text));
}

CString LoadStringResource(UINT id)
{
    const wchar_t* resource = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&resource), 0);
    if (length <= 0 || !resource)
        return CString();
    return CString(std::wstring(resource, static_cast<std::size_t>(length)));
}
