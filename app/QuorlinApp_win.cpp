#include "QuorlinApp.h"

#include "../listfile/Association.h"
#include "../listfile/CommandLine.h"
#include "../platform/Com.h"
#include "../ui/QuorlinDlg.h"

#include <commctrl.h>
#include <stdlib.h>

CQuorlinApp theApp;

CQuorlinApp::CQuorlinApp()
{
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

BOOL CQuorlinApp::InitInstance()
{
    const ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    // The class library's control container, shell manager and visual manager would be set up here; they
    // have no counterpart without it and change nothing in what this program does.
    SetRegistryKey(L"Vantrel-App");
    RegisterListFileType();
    const CString listFile = ListFileFromCommandLine(__argc, __wargv);

    CQuorlinDlg dialog;
    m_pMainWnd = &dialog;
    dialog.LoadListFile(listFile);
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
