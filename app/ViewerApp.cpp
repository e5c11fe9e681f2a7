#include "app/ViewerApp.h"

#include <cstdio>

#include "framework/system/ModulePath.h"
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
    m_nExitCode = 0;
    if (GetSystemMetrics(SM_CXSCREEN) < 800 || GetSystemMetrics(SM_CYSCREEN) < 600)
        AfxMessageBox(IDS_SCREEN_TOO_SMALL, MB_OK, 0);
    else
        dlg.DoModal();
    m_pMainWnd = nullptr;
    if (dlg.GetOpenResult() != CViewerDlg::OPEN_DONE)
        ReportUnopenedCollection(dlg);
    return FALSE;
}

int CViewerApp::ExitInstance() {
    return m_nExitCode;
}

void CViewerApp::ReportUnopenedCollection(const CViewerDlg& dlg) {
    m_nExitCode = 1;
    const CString& strPath = dlg.GetCollectionPath();
    if (dlg.GetOpenResult() == CViewerDlg::OPEN_NO_COLLECTION) {
        fprintf(stderr,
                "%s: %s carries no collection to show; make one with: slideshow-pack build "
                "FOLDER -o FILE\n",
                AfxGetArgv0().GetString(), strPath.GetString());
        return;
    }
    CString strText;
    strText.Format("The collection in %s is damaged and cannot be shown.", strPath.GetString());
    fprintf(stderr, "%s: %s\n", AfxGetArgv0().GetString(), strText.GetString());
    AfxMessageBox(strText);
}
