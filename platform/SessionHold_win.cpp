#include "SessionHold.h"

void CSessionHold::Begin(HWND window, const wchar_t* reason)
{
    End();
    m_window = window;
    ShutdownBlockReasonCreate(window, reason);
    SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
}

void CSessionHold::End()
{
    if (!m_window)
        return;
    ShutdownBlockReasonDestroy(m_window);
    SetThreadExecutionState(ES_CONTINUOUS);
    m_window = nullptr;
}
