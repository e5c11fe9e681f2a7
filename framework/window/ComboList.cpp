#include "framework/window/ComboList.h"

#include "framework/gdi/DC.h"
#include "framework/window/ComboBox.h"
#include "framework/window/PaintDC.h"

void CComboList::Open(const CRect& rect, int nHighlight) {
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), FALSE);
    m_nHighlight = nHighlight;
    m_nTop = 0;
    UpdateScrollBar();
    EnsureVisible(nHighlight);
    m_bOpen = TRUE;
    ShowWindow(SW_SHOWNA);
    Invalidate(TRUE);
    SetCapture();
}

void CComboList::Close() {
    if (!m_bOpen)
        return;
    m_bOpen = FALSE;
    m_bScrolling = FALSE;
    if (GetCapture() == this)
        ReleaseCapture();
    ShowWindow(SW_HIDE);
}

int CComboList::LastPageRows() const {
    CRect client;
    GetClientRect(&client);
    int rows = 0, used = 0;
    for (int i = m_pCombo->GetCount() - 1; i >= 0; --i) {
        used += m_pCombo->GetItemHeight(i);
        if (used > client.Height())
            break;
        ++rows;
    }
    return rows > 0 ? rows : 1;
}

int CComboList::MaxTop() const {
    int max = m_pCombo->GetCount() - LastPageRows();
    return max > 0 ? max : 0;
}

void CComboList::UpdateScrollBar() {
    const BOOL overflow = MaxTop() > 0 && m_pCombo->HasListScrollBar();
    ShowScrollBar(SB_VERT, overflow);
    if (!overflow)
        return;
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = m_pCombo->GetCount() - 1;
    si.nPage = (UINT)LastPageRows();
    si.nPos = m_nTop;
    SetScrollInfo(SB_VERT, &si, TRUE);
}

void CComboList::SetTop(int nTop) {
    if (nTop > MaxTop())
        nTop = MaxTop();
    if (nTop < 0)
        nTop = 0;
    if (nTop == m_nTop)
        return;
    m_nTop = nTop;
    SetScrollPos(SB_VERT, m_nTop, TRUE);
    Invalidate(TRUE);
}

void CComboList::EnsureVisible(int nIndex) {
    if (nIndex < 0)
        return;
    if (nIndex < m_nTop) {
        SetTop(nIndex);
        return;
    }
    CRect client;
    GetClientRect(&client);
    // Scroll down until the row's bottom is inside.
    while (m_nTop < nIndex && RowRect(nIndex).bottom > client.bottom)
        SetTop(m_nTop + 1);
}

CRect CComboList::RowRect(int nIndex) const {
    CRect client;
    GetClientRect(&client);
    int y = 0;
    if (nIndex >= m_nTop) {
        for (int i = m_nTop; i < nIndex; ++i)
            y += m_pCombo->GetItemHeight(i);
    } else {
        for (int i = nIndex; i < m_nTop; ++i)
            y -= m_pCombo->GetItemHeight(i);
    }
    return CRect(0, y, client.right, y + m_pCombo->GetItemHeight(nIndex));
}

int CComboList::RowAt(CPoint point) const {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
        return -1;
    int y = 0;
    for (int i = m_nTop; i < m_pCombo->GetCount(); ++i) {
        y += m_pCombo->GetItemHeight(i);
        if (point.y < y)
            return i;
    }
    return -1;
}

void CComboList::SetHighlight(int nIndex) {
    if (nIndex == m_nHighlight)
        return;
    if (m_nHighlight >= 0) {
        CRect old = RowRect(m_nHighlight);
        InvalidateRect(&old, FALSE);
    }
    m_nHighlight = nIndex;
    if (nIndex >= 0) {
        CRect now = RowRect(nIndex);
        InvalidateRect(&now, FALSE);
    }
}

void CComboList::HighlightRow(int nIndex) {
    if (nIndex < 0 || nIndex >= m_pCombo->GetCount())
        return;
    SetHighlight(nIndex);
    EnsureVisible(nIndex);
}

void CComboList::Paint() {
    CPaintDC dc(this);
    if (CFont* pFont = GetFont())
        dc.SelectObject(pFont);
    HBRUSH hBack = m_pCombo->AskListColours(&dc);
    CRect client;
    GetClientRect(&client);
    dc.FillRect(&client, CBrush::FromHandle(hBack));
    for (int i = m_nTop; i < m_pCombo->GetCount(); ++i) {
        CRect row = RowRect(i);
        if (row.top >= client.bottom)
            break;
        m_pCombo->DrawRow(&dc, i, row, i == m_nHighlight ? ODS_SELECTED : 0);
    }
}

void CComboList::OnButtonDown(CPoint point) {
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    if (!window.PtInRect(screen)) {
        // Like the platform's list, the click that closes it goes nowhere else.
        m_pCombo->ShowDropDown(FALSE);
        return;
    }
    if (!client.PtInRect(point)) {
        // The scroll bar: let the window's own scroll-bar handling track it, then take the
        // mouse back when the scrolling ends.
        m_bScrolling = TRUE;
        ReleaseCapture();
        SendMessage(WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
        return;
    }
    SetHighlight(RowAt(point));
}

void CComboList::OnButtonUp(CPoint point) {
    const int row = RowAt(point);
    if (row >= 0)
        m_pCombo->Choose(row);
}

void CComboList::OnScroll(UINT nCode, UINT nPos) {
    const int page = LastPageRows();
    switch (nCode) {
    case SB_LINEUP:
        SetTop(m_nTop - 1);
        break;
    case SB_LINEDOWN:
        SetTop(m_nTop + 1);
        break;
    case SB_PAGEUP:
        SetTop(m_nTop - page);
        break;
    case SB_PAGEDOWN:
        SetTop(m_nTop + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        SetTop((int)nPos);
        break;
    case SB_TOP:
        SetTop(0);
        break;
    case SB_BOTTOM:
        SetTop(MaxTop());
        break;
    case SB_ENDSCROLL:
        if (m_bScrolling && m_bOpen) {
            m_bScrolling = FALSE;
            SetCapture();
        }
        break;
    default:
        break;
    }
}

LRESULT CComboList::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE: {
        const int row = RowAt(point);
        if (row >= 0)
            SetHighlight(row);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        OnButtonDown(point);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(point);
        return 0;
    case WM_VSCROLL:
        OnScroll(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CAPTURECHANGED:
        // Losing the mouse to anyone else (not to our own scroll bar) closes the list.
        if (m_bOpen && !m_bScrolling && (HWND)lParam != m_hWnd)
            m_pCombo->ShowDropDown(FALSE);
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
