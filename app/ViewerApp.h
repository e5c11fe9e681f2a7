// The application object: checks the screen, runs the main window as the program's only loop,
// and ends the program when that window closes.
#pragma once

#include "framework/window/WinApp.h"

class CViewerDlg;

#define ID_HELP 57670

class CViewerApp : public CWinApp {
public:
    CViewerApp() = default;
    ~CViewerApp() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Always FALSE: the program ends as soon as the main window has closed.
    BOOL InitInstance() override;
    // 0, or 1 when there was no collection to show.
    int ExitInstance() override;

private:
    // A collection that could not be opened: one line on stderr, and for a damaged one a
    // message box too, since whoever double-clicked the file sees nothing else.
    void ReportUnopenedCollection(const CViewerDlg& dlg);

    int m_nExitCode = 0;
};
