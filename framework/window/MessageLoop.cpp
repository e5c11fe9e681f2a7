#include "framework/window/MessageLoop.h"

#include "framework/backend/Backend.h"
#include "framework/window/InputRouter.h"
#include "framework/window/Timer.h"
#include "framework/window/WindowManager.h"
#include "framework/window/WindowPainter.h"
#include "framework/window/Wnd.h"

namespace {
// A pump that never runs dry (a window posting to itself for ever) still returns.
const int MAX_IDLE_TURNS = 100000;

void DispatchPosted() {
    CWindowManager& m = CWindowManager::Get();
    MSG msg = m.m_posted.front();
    m.m_posted.pop_front();
    if (CWnd* pWnd = CWnd::FromHandle(msg.hwnd)) {
        AfxCallWindowProc(pWnd, msg.message, msg.wParam, msg.lParam);
    }
}
} // namespace

BOOL AfxPumpMessage(int timeoutMs) {
    CBackend* pBackend = AfxGetBackend();
    CWindowPainter& painter = CWindowPainter::Get();
    if (!CWindowManager::Get().m_posted.empty()) {
        DispatchPosted();
        return TRUE;
    }
    BackendEvent event;
    if (pBackend && pBackend->NextEvent(event, 0)) {
        CInputRouter::Get().Dispatch(event);
        return TRUE;
    }
    // Painting waits until no input is queued, as on the platform; then everything that
    // changed is shown at once.
    if (painter.HasPendingPaint()) {
        painter.PaintAll();
        painter.Present();
        return TRUE;
    }
    if (painter.HasChanges()) {
        painter.Present();
        return TRUE;
    }
    CTimerQueue& timers = CTimerQueue::Get();
    if (timers.SendDue())
        return TRUE;
    const int nToTimer = timers.MillisecondsToNext();
    if (nToTimer >= 0 && (timeoutMs < 0 || nToTimer < timeoutMs))
        timeoutMs = nToTimer;
    if (timeoutMs != 0 && pBackend && pBackend->NextEvent(event, timeoutMs)) {
        CInputRouter::Get().Dispatch(event);
        return TRUE;
    }
    return FALSE;
}

void AfxPumpUntilIdle() {
    for (int i = 0; i < MAX_IDLE_TURNS && AfxPumpMessage(0); ++i) {
    }
}
