// The application object: one program-wide CWinApp-derived object whose InitInstance the
// framework calls once (AfxWinMain); the process ends when it returns FALSE.
#pragma once

#include "framework/window/Wnd.h"

class CWinApp : public CCmdTarget {
public:
    // A null name means the default: the executable's file name (message boxes show it).
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Runs when InitInstance returned TRUE: the main window's modal loop is the program's only
    // loop, so this only returns the exit code.
    virtual int Run();
    // Called last, also when InitInstance returned FALSE; its result is the process's exit code.
    virtual int ExitInstance();

    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HICON LoadIcon(UINT nIDResource) const;
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    LPCTSTR m_pszAppName = nullptr;
};

// The one application object, or null.
CWinApp* AfxGetApp();
// The application's main window, or null.
CWnd* AfxGetMainWnd();
// Start-up: records argv (AfxSetArgv), installs the message boxes as the framework's message sink,
// calls the application's InitInstance (then Run when it returns TRUE) and ExitInstance. Needs a
// backend (AfxSetBackend) first. Returns the process exit code.
int AfxWinMain(int argc, char* argv[]);

// A message box with an OK button; its caption is the application name.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
