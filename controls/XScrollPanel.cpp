#include "controls/XScrollPanel.h"

#include <climits>

#include "framework/gdi/DC.h"
#include "framework/window/ScrollBar.h"

IMPLEMENT_DYNCREATE(XScrollPanel, XPanel)

namespace {

// The bar thickness the layout assumes; a fixed value, not the system metric.
const int SCROLLBAR_THICKNESS = 14;
// Lines per wheel notch, as desktops scroll by default.
const int WHEEL_SCROLL_LINES = 3;
const int SCROLLBAR_THICKNESS_BORDERED = 10;

// Where one axis moves for a scroll action, from its current position; in 64 bits, so that a
// step from near the end of a huge content never wraps round to the top.
long long NewPosition(BYTE nAction, int nCurrent, int nLine, int nPage, UINT nThumb) {
    switch (nAction) {
    case SB_LINEUP:
        return (long long)nCurrent - nLine;
    case SB_LINEDOWN:
        return (long long)nCurrent + nLine;
    case SB_PAGEUP:
        return (long long)nCurrent - nPage;
    case SB_PAGEDOWN:
        return (long long)nCurrent + nPage;
    case SB_THUMBTRACK:
        return (int)nThumb;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return INT_MAX;
    default:
        return nCurrent; // the final thumb position, the end of scrolling, no action
    }
}

// Sums and differences of positions are taken in 64 bits, so that a jump to the end never wraps.
int SaturateToInt(long long nValue) {
    return nValue > INT_MAX ? INT_MAX : (nValue < INT_MIN ? INT_MIN : (int)nValue);
}

// The size of a length that a mapping mode may have turned negative; INT_MIN has none in int.
int Magnitude(int nValue) {
    return nValue >= 0 ? nValue : (nValue == INT_MIN ? INT_MAX : -nValue);
}

int ClampPosition(long long nValue, int nLimit) {
    return nValue < 0 ? 0 : (nValue > nLimit ? nLimit : (int)nValue);
}

// The scroll code of a message: the horizontal action in the low byte, the vertical in the high.
UINT MakeScrollCode(UINT nHorz, UINT nVert) {
    return (nHorz & 0xFF) | ((nVert & 0xFF) << 8);
}

const UINT SB_NOACTION = 0xFF;

} // namespace

XScrollPanel::XScrollPanel() = default;

XScrollPanel::~XScrollPanel() = default;

BOOL XScrollPanel::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    LPCTSTR lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, nullptr, (HBRUSH)m_brBack.GetSafeHandle(), nullptr);
    return CWnd::Create(lpszClass, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

void XScrollPanel::SetContentSize(int cx, int cy) {
    m_bInUpdate = FALSE;
    SetScrollMetrics(MM_TEXT, CSize(cx, cy), CSize(0, 0), CSize(0, 0));
}

void XScrollPanel::SetScrollMetrics(int nMapMode, SIZE sizeTotal, SIZE sizePage, SIZE sizeLine) {
    const int nOldMapMode = m_nMapMode;
    m_nMapMode = nMapMode;
    m_sizeTotalLog = sizeTotal;

    // The framework knows only the text mapping mode, in which logical units are pixels.
    m_sizeTotal = sizeTotal;
    m_sizePage = sizePage;
    m_sizeLine = sizeLine;
    // Heights are kept non-negative whatever the caller passes.
    m_sizeTotal.cy = Magnitude(m_sizeTotal.cy);
    m_sizePage.cy = Magnitude(m_sizePage.cy);
    m_sizeLine.cy = Magnitude(m_sizeLine.cy);

    if (m_sizePage.cx == 0)
        m_sizePage.cx = m_sizeTotal.cx / 10;
    if (m_sizePage.cy == 0)
        m_sizePage.cy = m_sizeTotal.cy / 10;
    if (m_sizeLine.cx == 0)
        m_sizeLine.cx = m_sizePage.cx / 10;
    if (m_sizeLine.cy == 0)
        m_sizeLine.cy = m_sizePage.cy / 10;

    if (!::IsWindow(m_hWnd))
        return;
    UpdateScrollBars();
    if (nMapMode != nOldMapMode)
        Invalidate(TRUE);
}

void XScrollPanel::ScrollToPosition(POINT pt) {
    const int xOld = GetScrollPos(SB_HORZ);
    SetScrollPos(SB_HORZ, pt.x);
    const int yOld = GetScrollPos(SB_VERT);
    SetScrollPos(SB_VERT, pt.y);
    ScrollWindow(xOld - pt.x, yOld - pt.y);
}

CPoint XScrollPanel::GetScrollOrigin() const {
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

BOOL XScrollPanel::ScrollByCode(UINT nScrollCode, UINT nPos, BOOL bDoScroll) {
    const int x = GetScrollPos(SB_HORZ);
    const int y = GetScrollPos(SB_VERT);
    const long long xNew =
        NewPosition((BYTE)(nScrollCode & 0xFF), x, m_sizeLine.cx, m_sizePage.cx, nPos);
    const long long yNew =
        NewPosition((BYTE)((nScrollCode >> 8) & 0xFF), y, m_sizeLine.cy, m_sizePage.cy, nPos);
    const CSize sizeScroll(SaturateToInt(xNew - x), SaturateToInt(yNew - y));
    const BOOL bResult = ScrollByOffset(sizeScroll, bDoScroll);
    if (bResult && bDoScroll)
        UpdateWindow();
    return bResult;
}

BOOL XScrollPanel::ScrollByOffset(CSize sizeScroll, BOOL bDoScroll) {
    const DWORD dwStyle = GetStyle();
    CScrollBar* pBarV = GetScrollBarCtrl(SB_VERT);
    if ((pBarV && !pBarV->IsWindowEnabled()) || (!pBarV && !(dwStyle & WS_VSCROLL)))
        sizeScroll.cy = 0;
    CScrollBar* pBarH = GetScrollBarCtrl(SB_HORZ);
    if ((pBarH && !pBarH->IsWindowEnabled()) || (!pBarH && !(dwStyle & WS_HSCROLL)))
        sizeScroll.cx = 0;

    const int xOld = GetScrollPos(SB_HORZ);
    const int x = ClampPosition((long long)xOld + sizeScroll.cx, GetScrollLimit(SB_HORZ));
    const int yOld = GetScrollPos(SB_VERT);
    const int y = ClampPosition((long long)yOld + sizeScroll.cy, GetScrollLimit(SB_VERT));
    if (x == xOld && y == yOld)
        return FALSE;

    if (bDoScroll) {
        ScrollWindow(xOld - x, yOld - y);
        if (x != xOld)
            SetScrollPos(SB_HORZ, x);
        if (y != yOld)
            SetScrollPos(SB_VERT, y);
    }
    return TRUE;
}

CSize XScrollPanel::GetScrollBarSizes() const {
    const int nThickness =
        (GetStyle() & WS_BORDER) ? SCROLLBAR_THICKNESS_BORDERED : SCROLLBAR_THICKNESS;
    CSize sizeBars;
    if (!GetScrollBarCtrl(SB_VERT))
        sizeBars.cx = nThickness;
    if (!GetScrollBarCtrl(SB_HORZ))
        sizeBars.cy = nThickness;
    return sizeBars;
}

BOOL XScrollPanel::GetFullClientSize(CSize& sizeClient, CSize& sizeBars) {
    CRect rcClient;
    GetClientRect(rcClient);
    sizeClient = rcClient.Size();
    sizeBars = GetScrollBarSizes();
    const DWORD dwStyle = GetStyle();
    if (sizeBars.cx != 0 && (dwStyle & WS_VSCROLL))
        sizeClient.cx += sizeBars.cx;
    if (sizeBars.cy != 0 && (dwStyle & WS_HSCROLL))
        sizeClient.cy += sizeBars.cy;
    return sizeClient.cx > sizeBars.cx && sizeClient.cy > sizeBars.cy;
}

void XScrollPanel::GetScrollBarState(CSize sizeClient, CSize& needBars, CSize& sizeRange,
                                     CPoint& ptMove, BOOL bInsideClient) {
    // Whether the bars fit inside the client makes no difference to a panel without bar
    // controls: the bars always take their room from the client.
    (void)bInsideClient;
    const CSize sizeBars = GetScrollBarSizes();
    sizeRange = CSize(SaturateToInt((long long)m_sizeTotal.cx - sizeClient.cx),
                      SaturateToInt((long long)m_sizeTotal.cy - sizeClient.cy));
    ptMove = GetScrollOrigin();

    BOOL bNeedH = sizeRange.cx > 0;
    if (!bNeedH)
        ptMove.x = 0;
    else
        sizeRange.cy += sizeBars.cy;

    const BOOL bNeedV = sizeRange.cy > 0;
    if (!bNeedV) {
        ptMove.y = 0;
    } else {
        sizeRange.cx += sizeBars.cx;
        if (!bNeedH && sizeRange.cx > 0) {
            bNeedH = TRUE;
            sizeRange.cy += sizeBars.cy;
        }
    }

    if (sizeRange.cx > 0 && ptMove.x >= sizeRange.cx)
        ptMove.x = sizeRange.cx;
    if (sizeRange.cy > 0 && ptMove.y >= sizeRange.cy)
        ptMove.y = sizeRange.cy;
    needBars = CSize(bNeedH, bNeedV);
}

void XScrollPanel::UpdateScrollBars() {
    if (m_bInUpdate)
        return;
    // Showing or hiding a bar resizes the client area, which may bring us back here.
    m_bInUpdate = TRUE;

    CSize sizeClient, sizeBars;
    if (!GetFullClientSize(sizeClient, sizeBars)) {
        CRect rcClient;
        GetClientRect(rcClient);
        if (rcClient.right > 0 && rcClient.bottom > 0)
            EnableScrollBarCtrl(SB_BOTH, FALSE);
        m_bInUpdate = FALSE;
        return;
    }

    CSize needBars, sizeRange;
    CPoint ptMove;
    GetScrollBarState(sizeClient, needBars, sizeRange, ptMove, TRUE);
    if (needBars.cx)
        sizeClient.cy -= sizeBars.cy;
    if (needBars.cy)
        sizeClient.cx -= sizeBars.cx;

    ScrollToPosition(ptMove);

    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE | SIF_RANGE;
    info.nMin = 0;

    EnableScrollBarCtrl(SB_HORZ, needBars.cx);
    if (needBars.cx) {
        info.nPage = (UINT)sizeClient.cx;
        info.nMax = m_sizeTotal.cx - 1;
        if (!SetScrollInfo(SB_HORZ, &info, TRUE))
            SetScrollRange(SB_HORZ, 0, sizeRange.cx, TRUE);
    }
    EnableScrollBarCtrl(SB_VERT, needBars.cy);
    if (needBars.cy) {
        info.nPage = (UINT)sizeClient.cy;
        info.nMax = m_sizeTotal.cy - 1;
        if (!SetScrollInfo(SB_VERT, &info, TRUE))
            SetScrollRange(SB_VERT, 0, sizeRange.cy, TRUE);
    }
    m_bInUpdate = FALSE;
}

BOOL XScrollPanel::IsOwnBar(int nBar, UINT message, UINT nSBCode, UINT nPos,
                            CScrollBar* pScrollBar) {
    if (pScrollBar) {
        LRESULT lResult = 0;
        if (pScrollBar->OnChildNotify(message, MAKEWPARAM(nSBCode, nPos),
                                      (LPARAM)pScrollBar->GetSafeHwnd(), &lResult))
            return FALSE; // the control handled it itself
    }
    return pScrollBar == GetScrollBarCtrl(nBar);
}

UINT XScrollPanel::GetThumbPosition(int nBar, UINT nSBCode, UINT nPos) {
    // The message has room for 16 bits of the dragged thumb's position; the bar holds all 32,
    // so that a drag in content taller than 65,535 pixels reaches where the thumb points. A
    // message whose bits differ from the bar's did not come from dragging it: it is taken as sent.
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    if (nSBCode == SB_THUMBTRACK && GetScrollInfo(nBar, &info, SIF_TRACKPOS) &&
        ((UINT)info.nTrackPos & 0xFFFF) == (nPos & 0xFFFF))
        return (UINT)info.nTrackPos;
    return nPos;
}

void XScrollPanel::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (!IsOwnBar(SB_HORZ, WM_HSCROLL, nSBCode, nPos, pScrollBar))
        return;
    ScrollByCode(MakeScrollCode(nSBCode, SB_NOACTION), GetThumbPosition(SB_HORZ, nSBCode, nPos),
                 TRUE);
}

BOOL XScrollPanel::OnMouseWheel(UINT, short zDelta, CPoint) {
    const int nLines = -zDelta * WHEEL_SCROLL_LINES / WHEEL_DELTA;
    if (ScrollByOffset(CSize(0, nLines * m_sizeLine.cy)))
        UpdateWindow();
    return TRUE;
}

void XScrollPanel::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (!IsOwnBar(SB_VERT, WM_VSCROLL, nSBCode, nPos, pScrollBar))
        return;
    ScrollByCode(MakeScrollCode(SB_NOACTION, nSBCode), GetThumbPosition(SB_VERT, nSBCode, nPos),
                 TRUE);
}
