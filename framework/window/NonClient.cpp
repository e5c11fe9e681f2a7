#include "framework/window/NonClient.h"

#include "framework/gdi/DC.h"
#include "framework/window/WindowManager.h"
#include "framework/window/WindowPainter.h"
#include "framework/window/Wnd.h"

namespace {
void SendScroll(HWND hWnd, int nBar, int nCode, int nPos) {
    ::SendMessage(hWnd, nBar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(nCode, nPos), 0);
}

int CodeForPart(CScrollBarLayout::PART part) {
    switch (part) {
    case CScrollBarLayout::PART_ARROW_FIRST:
        return SB_LINEUP;
    case CScrollBarLayout::PART_ARROW_LAST:
        return SB_LINEDOWN;
    case CScrollBarLayout::PART_PAGE_FIRST:
        return SB_PAGEUP;
    case CScrollBarLayout::PART_PAGE_LAST:
        return SB_PAGEDOWN;
    default:
        return -1;
    }
}
} // namespace

CNonClient& CNonClient::Get() {
    static CNonClient s_nonClient;
    return s_nonClient;
}

CScrollBarLayout CNonClient::Layout(CWindowRecord* pRec, int nBar) const {
    const SCROLLINFO& si = pRec->Bar(nBar);
    bool bDragged =
        m_hTrack == pRec->hWnd && m_nTrackBar == nBar && m_part == CScrollBarLayout::PART_THUMB;
    return CScrollBarLayout(pRec->ScrollBarRect(nBar), nBar == SB_VERT, si,
                            bDragged ? si.nTrackPos : si.nPos);
}

void CNonClient::Paint(CWindowRecord* pRec) {
    bool bVert = pRec->HasStyle(WS_VSCROLL), bHorz = pRec->HasStyle(WS_HSCROLL);
    if (!pRec->BorderWidth() && !bVert && !bHorz)
        return;
    CWindowPainter& painter = CWindowPainter::Get();
    HDC hdc = painter.CreateDC(pRec, CWindowPainter::DC_WINDOW, nullptr);
    CDC* pDC = CDC::FromHandle(hdc);
    CRect rcWindow = pRec->ScreenRect();
    // Drawn in screen coordinates, as the layouts are.
    pDC->SetWindowOrg(rcWindow.left, rcWindow.top);
    if (pRec->BorderWidth()) {
        CBrush* pFrame = CBrush::FromHandle((HBRUSH)GetStockObject(BLACK_BRUSH));
        pDC->FrameRect(&rcWindow, pFrame);
    }
    bool bEnabled = pRec->IsEnabled();
    if (bVert)
        Layout(pRec, SB_VERT).Draw(pDC, bEnabled);
    if (bHorz)
        Layout(pRec, SB_HORZ).Draw(pDC, bEnabled);
    if (bVert && bHorz) {
        CRect rcV = pRec->ScrollBarRect(SB_VERT), rcH = pRec->ScrollBarRect(SB_HORZ);
        CRect rcCorner(rcV.left, rcH.top, rcV.right, rcH.bottom);
        pDC->FillSolidRect(&rcCorner, GetSysColor(COLOR_BTNFACE));
    }
    painter.ReleaseDC(hdc);
}

LRESULT CNonClient::HitTest(CWindowRecord* pRec, CPoint ptScreen) const {
    if (!pRec->ScreenRect().PtInRect(ptScreen))
        return HTNOWHERE;
    if (pRec->ClientScreenRect().PtInRect(ptScreen))
        return HTCLIENT;
    if (pRec->ScrollBarRect(SB_VERT).PtInRect(ptScreen))
        return HTVSCROLL;
    if (pRec->ScrollBarRect(SB_HORZ).PtInRect(ptScreen))
        return HTHSCROLL;
    return HTBORDER;
}

void CNonClient::BeginTrack(HWND hWnd, int nBar, CPoint ptScreen) {
    CWindowRecord* pRec = CWindowManager::Get().Find(hWnd);
    if (!pRec || m_hTrack)
        return;
    SCROLLINFO& si = pRec->Bar(nBar);
    if (!CScrollBarLayout::IsScrollable(si) || !pRec->IsEnabled())
        return;
    CScrollBarLayout layout = Layout(pRec, nBar);
    CScrollBarLayout::PART part = layout.HitTest(ptScreen);
    if (part == CScrollBarLayout::PART_NONE)
        return;
    m_hTrack = hWnd;
    m_nTrackBar = nBar;
    m_part = part;
    m_nGrab = layout.Along(ptScreen) - layout.ThumbStart();
    si.nTrackPos = si.nPos;
    pRec->bFrameDirty = true;
    int nCode = CodeForPart(part);
    if (nCode >= 0)
        SendScroll(hWnd, nBar, nCode, 0);
}

void CNonClient::TrackMove(CPoint ptScreen) {
    CWindowRecord* pRec = CWindowManager::Get().Find(m_hTrack);
    if (!pRec) {
        m_hTrack = nullptr;
        return;
    }
    if (m_part != CScrollBarLayout::PART_THUMB)
        return;
    CScrollBarLayout layout = Layout(pRec, m_nTrackBar);
    int nPos = layout.PosFromThumbStart(layout.Along(ptScreen) - m_nGrab);
    SCROLLINFO& si = pRec->Bar(m_nTrackBar);
    if (nPos == si.nTrackPos)
        return;
    si.nTrackPos = nPos;
    pRec->bFrameDirty = true;
    SendScroll(m_hTrack, m_nTrackBar, SB_THUMBTRACK, nPos);
}

void CNonClient::EndTrack(CPoint /*ptScreen*/) {
    HWND hWnd = m_hTrack;
    int nBar = m_nTrackBar;
    CScrollBarLayout::PART part = m_part;
    m_hTrack = nullptr;
    m_part = CScrollBarLayout::PART_NONE;
    CWindowRecord* pRec = CWindowManager::Get().Find(hWnd);
    if (!pRec)
        return;
    pRec->bFrameDirty = true;
    if (part == CScrollBarLayout::PART_THUMB) {
        SendScroll(hWnd, nBar, SB_THUMBPOSITION, pRec->Bar(nBar).nTrackPos);
    }
    if (::IsWindow(hWnd))
        SendScroll(hWnd, nBar, SB_ENDSCROLL, 0);
}

void CNonClient::ForgetWindow(HWND hWnd) {
    if (m_hTrack == hWnd) {
        m_hTrack = nullptr;
        m_part = CScrollBarLayout::PART_NONE;
    }
}
