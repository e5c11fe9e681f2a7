// The application object: checks the screen, runs the main window as the program's only loop,
// and ends the program when that window closes.
#pragma once

#include "framework/window/WinApp.h"

#define ID_HELP 57670

class CViewerApp : public CWinApp {
public:
    CViewerApp() = default;
    ~CViewerApp() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Always FALSE: the program ends as soon as the main window has closed.
    BOOL InitInstance() override;
};
