#include "app/ViewerApp.h"

#include "res/ResourceIds.h"
#include "shell/ViewerDlg.h"

CViewerApp::~CViewerApp() = default;

BOOL CViewerApp::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nID == ID_HELP && nCode == CN_COMMAND) {
        OnHelp();
        return TRUE;
    }
    return CWinApp::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CViewerApp::InitInstance() {
    // Built before the screen check, so that its constructor and destructor run in every case.
    CViewerDlg dlg;
    m_pMainWnd = &dlg;
    if (GetSystemMetrics(SM_CXSCREEN) < 800 || GetSystemMetrics(SM_CYSCREEN) < 600)
        AfxMessageBox(IDS_SCREEN_TOO_SMALL, MB_OK, 0);
    else
        dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
