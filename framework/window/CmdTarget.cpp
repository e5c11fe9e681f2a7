#include "framework/window/CmdTarget.h"

#include "framework/window/Cursor.h"

namespace {
int g_nWaitCount = 0;
HCURSOR g_hRestore = nullptr;
} // namespace

BOOL CCmdTarget::OnCmdMsg(UINT /*nID*/, int /*nCode*/, void* /*pExtra*/,
                          AFX_CMDHANDLERINFO* /*pHandlerInfo*/) {
    return FALSE;
}

void CCmdTarget::BeginWaitCursor() {
    if (g_nWaitCount++ == 0)
        g_hRestore = GetCursor();
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void CCmdTarget::EndWaitCursor() {
    if (g_nWaitCount == 0)
        return;
    if (--g_nWaitCount == 0)
        SetCursor(g_hRestore ? g_hRestore : LoadCursor(nullptr, IDC_ARROW));
}

void CCmdTarget::RestoreWaitCursor() {
    if (g_nWaitCount > 0)
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

int AfxGetWaitCursorCount() {
    return g_nWaitCount;
}
