#include "framework/window/InputRouter.h"

#include "framework/backend/ScreenScale.h"
#include "framework/system/MessageSink.h"
#include "framework/window/Cursor.h"
#include "framework/window/Dialog.h"
#include "framework/window/NonClient.h"
#include "framework/window/WinApp.h"
#include "framework/window/WindowManager.h"
#include "framework/window/WindowPainter.h"

namespace {
CWindowManager& Manager() {
    return CWindowManager::Get();
}

// Whether the window is pRoot or one of its children (at any depth); owned pop-ups are not.
bool IsInChildTreeOf(HWND hWnd, const CWindowRecord* pRoot) {
    for (CWindowRecord* p = Manager().Find(hWnd); p; p = p->IsChild() ? p->pParent : nullptr) {
        if (p == pRoot)
            return true;
    }
    return false;
}

// The client-area message of a mouse event; 0 when there is none.
UINT ClientMessage(const BackendEvent& event) {
    if (event.kind == BackendEvent::MouseMove)
        return WM_MOUSEMOVE;
    bool bDown = event.kind == BackendEvent::ButtonDown;
    switch (event.button) {
    case 1:
        return bDown ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case 2:
        return bDown ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case 3:
        return bDown ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default:
        return 0;
    }
}

bool CanTakeInput(const CWindowRecord* pRec) {
    return pRec && pRec->IsVisible() && pRec->IsEnabled();
}
} // namespace

CInputRouter& CInputRouter::Get() {
    static CInputRouter s_router;
    return s_router;
}

CInputRouter::MOUSE_TARGET CInputRouter::DetermineTarget(CPoint ptScreen) const {
    CWindowManager& m = Manager();
    // A hidden or disabled window never takes input, the capture notwithstanding.
    if (CanTakeInput(m.Find(m.m_hCapture)))
        return {m.m_hCapture, HTCLIENT};
    for (CWindowRecord* pTop : m.TopLevel()) {
        if (!pTop->HasStyle(WS_VISIBLE) || !pTop->ScreenRect().PtInRect(ptScreen))
            continue;
        MOUSE_TARGET target = HitChild(pTop, ptScreen);
        if (!target.hWnd)
            continue;
        CWindowRecord* pRec = m.Find(target.hWnd);
        if (!pRec || !pRec->IsEnabled())
            return {};
        return target;
    }
    return {};
}

CInputRouter::MOUSE_TARGET CInputRouter::HitChild(CWindowRecord* pRec, CPoint ptScreen) const {
    if (pRec->ClientScreenRect().PtInRect(ptScreen)) {
        for (CWindowRecord* pChild : pRec->children) {
            if (!pChild->HasStyle(WS_VISIBLE) || pChild->HasStyle(WS_DISABLED))
                continue;
            if (!pChild->ScreenRect().PtInRect(ptScreen))
                continue;
            MOUSE_TARGET target = HitChild(pChild, ptScreen);
            if (target.hWnd)
                return target;
        }
    }
    LRESULT nHit = ::SendMessage(pRec->hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
    if (nHit == HTTRANSPARENT || nHit == HTNOWHERE)
        return {};
    return {pRec->hWnd, nHit};
}

HWND CInputRouter::KeyboardTarget() const {
    CWindowManager& m = Manager();
    CWindowRecord* pFocus = m.Find(m.m_hFocus);
    if (CanTakeInput(pFocus) && CanTakeInput(pFocus->TopLevel()))
        return pFocus->hWnd;
    CWindowRecord* pActive = m.Find(m.m_hActive);
    if (CanTakeInput(pActive))
        return pActive->hWnd;
    for (CWindowRecord* pTop : m.TopLevel()) {
        if (CanTakeInput(pTop))
            return pTop->hWnd;
    }
    return nullptr;
}

void CInputRouter::Dispatch(const BackendEvent& deviceEvent) {
    // The backend counts device pixels; the windows count layout pixels.
    BackendEvent event = deviceEvent;
    const CPoint pt = AfxGetScreenScale().ToLayout(CPoint(event.x, event.y));
    event.x = pt.x;
    event.y = pt.y;
    if (event.kind == BackendEvent::ButtonDown || event.kind == BackendEvent::KeyDown)
        AfxBeginUserAction();
    switch (event.kind) {
    case BackendEvent::MouseMove:
    case BackendEvent::ButtonDown:
    case BackendEvent::ButtonUp:
        DispatchMouse(event);
        break;
    case BackendEvent::KeyDown:
        DispatchKey(event);
        break;
    case BackendEvent::Wheel:
        DispatchWheel(event);
        break;
    case BackendEvent::Close:
        DispatchClose();
        break;
    case BackendEvent::Expose:
        CWindowPainter::Get().InvalidateDisplay();
        break;
    default:
        break;
    }
}

void CInputRouter::DispatchMouse(const BackendEvent& event) {
    CPoint pt(event.x, event.y);
    m_ptLast = pt;
    CNonClient& nonClient = CNonClient::Get();
    if (nonClient.IsTracking()) {
        if (event.kind == BackendEvent::MouseMove)
            nonClient.TrackMove(pt);
        if (event.kind == BackendEvent::ButtonUp && event.button == 1)
            nonClient.EndTrack(pt);
        return;
    }
    UINT message = ClientMessage(event);
    if (!message)
        return;
    if (Manager().m_hCapture && !CanTakeInput(Manager().Find(Manager().m_hCapture)))
        ::ReleaseCapture();
    MOUSE_TARGET target = DetermineTarget(pt);
    if (!target.hWnd) {
        if (!AfxGetWaitCursorCount())
            ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return;
    }
    if (!Manager().m_hCapture) {
        if (AfxGetWaitCursorCount()) {
            ::SetCursor(LoadCursor(nullptr, IDC_WAIT));
        } else {
            ::SendMessage(target.hWnd, WM_SETCURSOR, (WPARAM)target.hWnd,
                          MAKELPARAM(target.nHit, message));
        }
    }
    CWindowRecord* pRec = Manager().Find(target.hWnd);
    if (!pRec)
        return;
    // A press passes the windows' PreTranslateMessage first, as keys do; a window that takes it
    // sees no press.
    if (event.kind == BackendEvent::ButtonDown) {
        MSG msg{};
        msg.hwnd = target.hWnd;
        msg.message = message;
        msg.wParam = event.keyState;
        msg.pt = pt;
        if (PreTranslate(msg))
            return;
        pRec = Manager().Find(target.hWnd);
        if (!pRec)
            return;
    }
    if (target.nHit == HTCLIENT) {
        CPoint origin = pRec->ClientScreenRect().TopLeft();
        ::SendMessage(target.hWnd, message, event.keyState,
                      MAKELPARAM(pt.x - origin.x, pt.y - origin.y));
    } else {
        // The non-client messages stand at the same distance from WM_NCMOUSEMOVE.
        ::SendMessage(target.hWnd, message - WM_MOUSEMOVE + WM_NCMOUSEMOVE, (WPARAM)target.nHit,
                      MAKELPARAM(pt.x, pt.y));
    }
}

// The window of the message first, then each parent up to its top-level window.
bool CInputRouter::PreTranslate(MSG& msg) {
    HWND hWnd = msg.hwnd;
    while (CWindowRecord* pRec = Manager().Find(hWnd)) {
        HWND hUp = pRec->IsChild() ? pRec->pParent->hWnd : nullptr;
        if (pRec->pWnd && pRec->pWnd->PreTranslateMessage(&msg))
            return true;
        hWnd = hUp;
    }
    return false;
}

void CInputRouter::DispatchKey(const BackendEvent& event) {
    HWND hTarget = KeyboardTarget();
    if (!hTarget)
        return;
    MSG msg{};
    msg.hwnd = hTarget;
    const bool bAlt = (event.keyState & MK_ALT) != 0;
    msg.message = bAlt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    msg.wParam = (WPARAM)event.vk;
    msg.lParam = bAlt ? MAKELPARAM(1, KF_ALTDOWN) : 1;
    msg.pt = m_ptLast;
    if (!PreTranslate(msg))
        ::SendMessage(hTarget, msg.message, msg.wParam, msg.lParam);
}

// The window under the pointer, as the other mouse messages; it passes what it does not use to
// its parent.
void CInputRouter::DispatchWheel(const BackendEvent& event) {
    m_ptLast = CPoint(event.x, event.y);
    if (CNonClient::Get().IsTracking())
        return;
    const MOUSE_TARGET target = DetermineTarget(m_ptLast);
    if (!target.hWnd)
        return;
    ::SendMessage(target.hWnd, WM_MOUSEWHEEL,
                  MAKEWPARAM(event.keyState & 0xFFFF, event.notches * WHEEL_DELTA),
                  MAKELPARAM(event.x, event.y));
}

void CInputRouter::DispatchClose() {
    CWindowManager& m = Manager();
    HWND hTarget = nullptr;
    if (!m.m_modalStack.empty())
        hTarget = m.m_modalStack.back()->m_hWnd;
    if (!hTarget && AfxGetMainWnd())
        hTarget = AfxGetMainWnd()->m_hWnd;
    if (!hTarget && !m.TopLevel().empty())
        hTarget = m.TopLevel().front()->hWnd;
    if (hTarget)
        ::SendMessage(hTarget, WM_CLOSE, 0, 0);
}

void CInputRouter::Activate(CWindowRecord* pRec) {
    CWindowRecord* pTop = pRec->TopLevel();
    CWindowManager& m = Manager();
    m.m_hActive = pTop->hWnd;
    m.BringToTop(pTop);
    if (!m.m_hFocus || !IsInChildTreeOf(m.m_hFocus, pTop)) {
        if (CWnd* pWnd = pTop->pWnd)
            pWnd->SetFocus();
    }
}

void CInputRouter::ActivateNext(CWindowRecord* pRec) {
    CWindowManager& m = Manager();
    if (m.m_hActive != pRec->hWnd)
        return;
    m.m_hActive = nullptr;
    CWindowRecord* pNext = pRec->pOwner ? pRec->pOwner->TopLevel() : nullptr;
    if (!pNext || !pNext->IsVisible()) {
        pNext = nullptr;
        for (CWindowRecord* pTop : m.TopLevel()) {
            if (pTop != pRec && pTop->IsVisible()) {
                pNext = pTop;
                break;
            }
        }
    }
    if (pNext) {
        Activate(pNext);
    } else if (m.m_hFocus && IsInChildTreeOf(m.m_hFocus, pRec)) {
        m.m_hFocus = nullptr;
    }
}

void CInputRouter::OnHidden(CWindowRecord* pRec) {
    CWindowManager& m = Manager();
    if (m.m_hCapture && IsInChildTreeOf(m.m_hCapture, pRec))
        ::ReleaseCapture();
    if (!pRec->IsChild()) {
        ActivateNext(pRec);
    } else if (m.m_hFocus && IsInChildTreeOf(m.m_hFocus, pRec)) {
        if (CWnd* pTop = pRec->TopLevel()->pWnd)
            pTop->SetFocus();
    }
}

void CInputRouter::OnDisabled(CWindowRecord* pRec) {
    CWindowManager& m = Manager();
    if (m.m_hCapture && IsInChildTreeOf(m.m_hCapture, pRec))
        ::ReleaseCapture();
    if (m.m_hFocus && IsInChildTreeOf(m.m_hFocus, pRec)) {
        HWND hOld = m.m_hFocus;
        m.m_hFocus = nullptr;
        ::SendMessage(hOld, WM_KILLFOCUS, 0, 0);
    }
}
