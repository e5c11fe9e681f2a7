// The root of everything that receives commands: the command route and the wait cursor.
#pragma once

#include "framework/core/Object.h"
#include "framework/core/WinTypes.h"

struct AFX_CMDHANDLERINFO;

// Command codes that reach OnCmdMsg: a WM_COMMAND passes its notification code (0 for a click).
#define CN_COMMAND 0

class CCmdTarget : public CObject {
public:
    // Sees every command (WM_COMMAND: nID = control or command id, nCode = notification code)
    // before the default handling. Return TRUE when handled; pass unhandled ones to the base.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The busy cursor, counted: it shows while any Begin is not matched by an End.
    void BeginWaitCursor();
    void EndWaitCursor();
    // Shows the busy cursor again when something else replaced it while the count is held.
    void RestoreWaitCursor();
};
