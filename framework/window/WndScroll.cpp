#include <algorithm>

#include "framework/window/ScrollBarLayout.h"
#include "framework/window/WindowManager.h"
#include "framework/window/WindowPainter.h"
#include "framework/window/Wnd.h"

namespace {
bool IsWindowBar(int nBar) {
    return nBar == SB_HORZ || nBar == SB_VERT;
}

DWORD BarStyle(int nBar) {
    return nBar == SB_HORZ ? WS_HSCROLL : nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL | WS_VSCROLL;
}

// Keeps min ≤ max, the page within the range and the position within min..limit, as the
// platform does whenever a bar changes.
void Normalise(SCROLLINFO& si) {
    if (si.nMax < si.nMin)
        si.nMax = si.nMin;
    long long range = (long long)si.nMax - si.nMin + 1;
    if ((long long)si.nPage > range)
        si.nPage = (UINT)range;
    si.nPos = std::min(std::max(si.nPos, si.nMin), CScrollBarLayout::Limit(si));
}

// Shows or hides bars; the client area changes, so the window repaints and hears WM_SIZE.
void ShowBars(CWnd* pWnd, CWindowRecord* pRec, DWORD dwBars, bool bShow) {
    DWORD dwNew = bShow ? (pRec->dwStyle | dwBars) : (pRec->dwStyle & ~dwBars);
    if (dwNew == pRec->dwStyle)
        return;
    CWindowPainter::Get().InvalidateAll(pRec);
    pRec->dwStyle = dwNew;
    CWindowPainter::Get().InvalidateAll(pRec);
    CSize client = pRec->ClientScreenRect().Size();
    pWnd->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.cx, client.cy));
}
} // namespace

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    CWindowRecord* pRec = Record();
    if (!pRec || !lpScrollInfo || !IsWindowBar(nBar))
        return FALSE;
    SCROLLINFO& si = pRec->Bar(nBar);
    UINT fMask = lpScrollInfo->fMask;
    if (fMask & SIF_RANGE) {
        si.nMin = lpScrollInfo->nMin;
        si.nMax = lpScrollInfo->nMax;
    }
    if (fMask & SIF_PAGE)
        si.nPage = lpScrollInfo->nPage;
    if (fMask & SIF_POS)
        si.nPos = lpScrollInfo->nPos;
    Normalise(si);
    // A bar shows itself when it can scroll and goes when it cannot, unless asked to stay.
    if ((fMask & (SIF_RANGE | SIF_PAGE)) && !(fMask & SIF_DISABLENOSCROLL)) {
        ShowBars(this, pRec, BarStyle(nBar), CScrollBarLayout::IsScrollable(si));
    }
    if (bRedraw && pRec->IsVisible())
        pRec->bFrameDirty = true;
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
    CWindowRecord* pRec = Record();
    if (!pRec || !lpScrollInfo || !IsWindowBar(nBar))
        return FALSE;
    const SCROLLINFO& si = pRec->Bar(nBar);
    lpScrollInfo->fMask = nMask;
    if (nMask & SIF_RANGE) {
        lpScrollInfo->nMin = si.nMin;
        lpScrollInfo->nMax = si.nMax;
    }
    if (nMask & SIF_PAGE)
        lpScrollInfo->nPage = si.nPage;
    if (nMask & SIF_POS)
        lpScrollInfo->nPos = si.nPos;
    if (nMask & SIF_TRACKPOS)
        lpScrollInfo->nTrackPos = si.nTrackPos;
    return TRUE;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(nBar, &si, bRedraw);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
    CWindowRecord* pRec = Record();
    if (!pRec || !IsWindowBar(nBar))
        return 0;
    int nOld = pRec->Bar(nBar).nPos;
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(nBar, &si, bRedraw);
    return nOld;
}

int CWnd::GetScrollPos(int nBar) const {
    CWindowRecord* pRec = Record();
    return pRec && IsWindowBar(nBar) ? pRec->Bar(nBar).nPos : 0;
}

int CWnd::GetScrollLimit(int nBar) {
    CWindowRecord* pRec = Record();
    return pRec && IsWindowBar(nBar) ? CScrollBarLayout::Limit(pRec->Bar(nBar)) : 0;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
    CWindowRecord* pRec = Record();
    if (!pRec || (nBar != SB_HORZ && nBar != SB_VERT && nBar != SB_BOTH))
        return;
    ShowBars(this, pRec, BarStyle((int)nBar), bShow != FALSE);
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
    ShowScrollBar((UINT)nBar, bEnable);
}

CScrollBar* CWnd::GetScrollBarCtrl(int /*nBar*/) const {
    return nullptr;
}
