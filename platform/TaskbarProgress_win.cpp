#include "TaskbarProgress.h"

UINT CTaskbarProgress::ButtonCreatedMessage()
{
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

void CTaskbarProgress::AcceptButtonCreated(HWND window)
{
    ChangeWindowMessageFilterEx(window, ButtonCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

void CTaskbarProgress::OnButtonCreated(HWND window)
{
    m_window = window;
    m_taskbar.Close();
    if (FAILED(CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(m_taskbar.Put()))))
        return;
    if (FAILED(m_taskbar.Get()->HrInit()))
        m_taskbar.Close();
}

void CTaskbarProgress::Show(std::size_t done, std::size_t total)
{
    if (m_taskbar)
        m_taskbar.Get()->SetProgressValue(m_window, done, total);
}

void CTaskbarProgress::Clear()
{
    if (m_taskbar)
        m_taskbar.Get()->SetProgressState(m_window, TBPF_NOPROGRESS);
}
