// The non-client area (framework internal): the one-pixel border of WS_BORDER and the window
// scroll bars of WS_VSCROLL / WS_HSCROLL — painting, hit testing and dragging. A press on an
// arrow or a page area sends one SB_LINE* / SB_PAGE* and SB_ENDSCROLL on release (there are
// no timers, so holding the button does not repeat); a dragged thumb sends SB_THUMBTRACK for
// every new position, then SB_THUMBPOSITION and SB_ENDSCROLL.
#pragma once

#include "framework/window/ScrollBarLayout.h"
#include "framework/window/WindowRecord.h"

class CNonClient {
public:
    static CNonClient& Get();

    void Paint(CWindowRecord* pRec);
    // HTCLIENT, HTVSCROLL, HTHSCROLL, HTBORDER or HTNOWHERE for a screen point.
    LRESULT HitTest(CWindowRecord* pRec, CPoint ptScreen) const;
    CScrollBarLayout Layout(CWindowRecord* pRec, int nBar) const;

    // A drag on a scroll bar holds the mouse until the button is released.
    void BeginTrack(HWND hWnd, int nBar, CPoint ptScreen);
    bool IsTracking() const { return m_hTrack != nullptr; }
    void TrackMove(CPoint ptScreen);
    void EndTrack(CPoint ptScreen);
    void ForgetWindow(HWND hWnd);

private:
    CNonClient() = default;

    HWND m_hTrack = nullptr;
    int m_nTrackBar = SB_VERT;
    CScrollBarLayout::PART m_part = CScrollBarLayout::PART_NONE;
    int m_nGrab = 0; // where the thumb was grabbed, from its start
};
