#include "controls/XPanel.h"

#include "framework/gdi/DC.h"
#include "framework/window/PaintDC.h"

IMPLEMENT_DYNCREATE(XPanel, CWnd)

XPanel::XPanel() {
    m_brBack.Attach(GetSysColorBrush(COLOR_MENU));
}

XPanel::~XPanel() = default;

void XPanel::SetBackColor(COLORREF crBack) {
    // The system's brush ignores deletion, so the first colour change is as safe as the next.
    m_brBack.DeleteObject();
    m_brBack.Attach(::CreateSolidBrush(crBack));
}

BOOL XPanel::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_CHILD | WS_VISIBLE;
    return CWnd::PreCreateWindow(cs);
}

LRESULT XPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY: {
        CWnd* pParent = GetParent();
        if (!pParent)
            return CWnd::WindowProc(message, wParam, lParam);
        // The panel's own handling may destroy the parent; only its handle is trusted after.
        const HWND hParent = pParent->GetSafeHwnd();
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        if (::IsWindow(hParent))
            ::SendMessage(hParent, message, wParam, lParam);
        return lResult;
    }
    case WM_RBUTTONUP: {
        const LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        CWnd* pParent = GetParent();
        if (pParent) {
            const int nID = GetDlgCtrlID();
            NMHDR nmhdr = {m_hWnd, (UINT_PTR)nID, NM_RCLICK};
            pParent->SendMessage(WM_NOTIFY, (WPARAM)nID, (LPARAM)&nmhdr);
        }
        return lResult;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

int XPanel::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    return CWnd::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL XPanel::OnEraseBkgnd(CDC* pDC) {
    CRect rcClip;
    pDC->GetClipBox(rcClip);
    rcClip.InflateRect(1, 1);
    CBrush* pOldBrush = pDC->SelectObject(&m_brBack);
    pDC->PatBlt(rcClip.left, rcClip.top, rcClip.Width(), rcClip.Height(), PATCOPY);
    if (pOldBrush)
        pDC->SelectObject(pOldBrush);
    return TRUE;
}

// The erase step and the children paint everything there is.
void XPanel::OnPaint() {
    CPaintDC dc(this);
}
