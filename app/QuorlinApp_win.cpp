#include "QuorlinApp.h"

#include "../listfile/Association.h"
#include "../listfile/ListFileType.h"
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
    // No control container, shell manager or visual manager: the dialogs hold no ActiveX controls, reach the
    // shell only through its file dialogs, and take the system's look from the manifest's common controls.
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
