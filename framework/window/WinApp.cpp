#include "framework/window/WinApp.h"

#include "framework/backend/Backend.h"
#include "framework/system/MessageSink.h"
#include "framework/system/ModulePath.h"
#include "framework/system/Resources.h"
#include "framework/window/Cursor.h"

namespace {
CWinApp* g_pApp = nullptr;

// The caption of message boxes: the application's name, by default the executable's file name.
CString Caption() {
    if (g_pApp && !g_pApp->m_strAppName.IsEmpty())
        return g_pApp->m_strAppName;
    CString strPath = AfxGetArgv0();
    if (strPath.IsEmpty())
        strPath = AfxGetModulePath();
    int nSlash = -1;
    for (int i = 0; i < strPath.GetLength(); ++i) {
        if (strPath[i] == '/')
            nSlash = i;
    }
    return strPath.Mid(nSlash + 1);
}

int ShowMessage(LPCTSTR lpszText, LPCTSTR lpszCaption) {
    CBackend* pBackend = AfxGetBackend();
    if (!pBackend)
        return 0;
    pBackend->ShowMessage(lpszCaption ? CString(lpszCaption) : Caption(), lpszText);
    return IDOK;
}

void MessageBoxSink(const CString& text) {
    AfxMessageBox(text);
}
} // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_strAppName(lpszAppName) {
    m_pszAppName = lpszAppName ? m_strAppName.GetString() : nullptr;
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return FALSE;
}

int CWinApp::Run() {
    return 0;
}

int CWinApp::ExitInstance() {
    return 0;
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
    return ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const {
    return ::LoadCursor(nullptr, lpszCursorName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
}

void CWinApp::OnHelp() {
    // The program has no help file.
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

int AfxWinMain(int argc, char* argv[]) {
    AfxSetArgv(argc, argv);
    AfxSetMessageSink(MessageBoxSink);
    CWinApp* pApp = AfxGetApp();
    int nExit = 0;
    if (pApp) {
        if (pApp->InitInstance())
            pApp->Run();
        nExit = pApp->ExitInstance();
    }
    AfxSetMessageSink(nullptr);
    return nExit;
}

int AfxMessageBox(LPCTSTR lpszText, UINT /*nType*/, UINT /*nIDHelp*/) {
    return ShowMessage(lpszText, nullptr);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strText;
    strText.LoadString(nIDPrompt);
    return AfxMessageBox(strText, nType, nIDHelp);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT /*nType*/) {
    return ShowMessage(lpszText, lpszCaption);
}
