#include "framework/window/Button.h"

#include "framework/gdi/DC.h"
#include "framework/window/PaintDC.h"

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CWnd::Create("Button", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Press(point);
        return 0;
    case WM_MOUSEMOVE:
        Track(point);
        return 0;
    case WM_LBUTTONUP:
        Release(point);
        return 0;
    case WM_CAPTURECHANGED:
        if ((HWND)lParam != m_hWnd && m_bTracking) {
            m_bTracking = FALSE;
            SetPushed(FALSE);
        }
        return 0;
    case BM_GETSTATE:
        return m_bPushed ? 0x0004 : 0; // BST_PUSHED
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

void CButton::Paint() {
    CPaintDC dc(this);
    CFont* pFont = GetFont();
    if (pFont)
        dc.SelectObject(pFont);
    CRect rect;
    GetClientRect(&rect);
    CWnd* pParent = GetParent();
    HBRUSH hBack = nullptr;
    if (pParent)
        hBack = (HBRUSH)pParent->SendMessage(WM_CTLCOLORBTN, (WPARAM)dc.m_hDC, (LPARAM)m_hWnd);
    if ((GetStyle() & BS_TYPEMASK) != BS_OWNERDRAW) {
        DrawPlain(&dc, hBack, rect);
        return;
    }
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = (UINT)GetDlgCtrlID();
    dis.itemID = 0;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = (m_bPushed ? ODS_SELECTED : 0) | (GetFocus() == this ? ODS_FOCUS : 0) |
                    (IsWindowEnabled() ? 0 : ODS_DISABLED);
    dis.hwndItem = m_hWnd;
    dis.hDC = dc.m_hDC;
    dis.rcItem = rect;
    if (pParent)
        pParent->SendMessage(WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
    else
        DrawItem(&dis);
}

// A button that does not draw itself: a face in the answered brush, a frame and the caption.
void CButton::DrawPlain(CDC* pDC, HBRUSH hBack, const CRect& rect) {
    CBrush* pFace =
        hBack ? CBrush::FromHandle(hBack) : CBrush::FromHandle(GetSysColorBrush(COLOR_BTNFACE));
    pDC->FillRect(&rect, pFace);
    pDC->FrameRect(&rect, CBrush::FromHandle(
                              GetSysColorBrush(m_bPushed ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW)));
    CString text;
    GetWindowText(text);
    CRect inner = rect;
    inner.DeflateRect(1, 1);
    if (m_bPushed)
        inner.OffsetRect(1, 1);
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(text, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(oldMode);
}

void CButton::Press(CPoint /*point*/) {
    SetFocus();
    SetCapture();
    m_bTracking = TRUE;
    SetPushed(TRUE);
}

void CButton::Track(CPoint point) {
    if (!m_bTracking)
        return;
    CRect rect;
    GetClientRect(&rect);
    SetPushed(rect.PtInRect(point));
}

void CButton::Release(CPoint point) {
    if (!m_bTracking)
        return;
    CRect rect;
    GetClientRect(&rect);
    const BOOL inside = rect.PtInRect(point);
    m_bTracking = FALSE;
    SetPushed(FALSE);
    ReleaseCapture();
    if (!inside)
        return;
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), (LPARAM)m_hWnd);
}

void CButton::SetPushed(BOOL bPushed) {
    if (m_bPushed == bPushed)
        return;
    m_bPushed = bPushed;
    Invalidate(FALSE);
}
