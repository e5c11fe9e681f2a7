// Where input goes (framework internal). One function decides the window for a mouse event:
// a scroll-bar drag, then the capture, then the topmost visible window under the point — pop-ups
// before the windows below them, children before their parent, statics without SS_NOTIFY
// letting the mouse through, disabled children passed over — and nothing at all when that
// window or one of its ancestors is disabled. Keys go to the focus window (its parents may
// take them first through PreTranslateMessage), else to the active window.
#pragma once

#include "framework/backend/Backend.h"
#include "framework/window/WindowRecord.h"

class CInputRouter {
public:
    static CInputRouter& Get();

    struct MOUSE_TARGET {
        HWND hWnd = nullptr;
        LRESULT nHit = HTNOWHERE;
    };
    MOUSE_TARGET DetermineTarget(CPoint ptScreen) const;
    HWND KeyboardTarget() const;

    // The one place where input enters the windows, in device pixels.
    void Dispatch(const BackendEvent& deviceEvent);

    // Activation of top-level windows: the active one takes keys and holds the focus.
    void Activate(CWindowRecord* pRec);
    // The window stops being able to take input: focus and activation move on.
    void ActivateNext(CWindowRecord* pRec);
    void OnHidden(CWindowRecord* pRec);
    void OnDisabled(CWindowRecord* pRec);

    CPoint GetLastPoint() const { return m_ptLast; }

private:
    CInputRouter() = default;
    MOUSE_TARGET HitChild(CWindowRecord* pRec, CPoint ptScreen) const;
    void DispatchMouse(const BackendEvent& event);
    void DispatchKey(const BackendEvent& event);
    // The windows' PreTranslateMessage chain; true when one of them took the message.
    bool PreTranslate(MSG& msg);
    void DispatchWheel(const BackendEvent& event);
    void DispatchClose();

    CPoint m_ptLast;
};
