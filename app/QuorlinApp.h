#pragma once

#include "../platform/WinApp.h"

// The application: start-up registers the list-file association, runs the main dialog, and ends with it.
class CQuorlinApp : public CWinApp
{
  public:
    CQuorlinApp();
    BOOL InitInstance() override;
};
