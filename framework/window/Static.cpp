#include "framework/window/Static.h"

#include "framework/gdi/DC.h"
#include "framework/window/PaintDC.h"

namespace {
// How the platform lays out each text type of static.
UINT TextFormat(DWORD dwStyle) {
    UINT nFormat = DT_EXPANDTABS | DT_WORDBREAK;
    switch (dwStyle & SS_TYPEMASK) {
    case SS_CENTER:
        nFormat |= DT_CENTER;
        break;
    case SS_RIGHT:
        nFormat |= DT_RIGHT;
        break;
    case SS_SIMPLE:
        nFormat = DT_SINGLELINE | DT_VCENTER;
        break;
    case SS_LEFTNOWORDWRAP:
        nFormat = DT_EXPANDTABS;
        break;
    default:
        break;
    }
    if (dwStyle & SS_NOPREFIX)
        nFormat |= DT_NOPREFIX;
    return nFormat;
}

bool IsTextType(DWORD dwType) {
    return dwType == SS_LEFT || dwType == SS_CENTER || dwType == SS_RIGHT || dwType == SS_SIMPLE ||
           dwType == SS_LEFTNOWORDWRAP;
}

// The frame and rectangle types take the system's 3-D colours, as the platform draws them.
int FrameColour(DWORD dwType) {
    switch (dwType) {
    case SS_BLACKFRAME:
    case SS_BLACKRECT:
        return COLOR_3DDKSHADOW;
    case SS_GRAYFRAME:
    case SS_GRAYRECT:
        return COLOR_BTNSHADOW;
    default:
        return COLOR_BTNHIGHLIGHT;
    }
}
} // namespace

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CWnd::Create("Static", lpszText, dwStyle, rect, pParentWnd, nID);
}

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
    return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
}

HBITMAP CStatic::GetBitmap() const {
    return m_hBitmap;
}

LRESULT CStatic::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        // Without SS_NOTIFY a static lets the mouse through to what lies beneath.
        if (!(GetStyle() & SS_NOTIFY))
            return HTTRANSPARENT;
        break;
    case WM_LBUTTONDOWN:
        if ((GetStyle() & SS_NOTIFY) && GetParent()) {
            GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), STN_CLICKED),
                                     (LPARAM)m_hWnd);
        }
        return 0;
    case WM_PAINT: {
        CPaintDC dc(this);
        Paint(&dc);
        return 0;
    }
    case STM_SETIMAGE: {
        if (wParam != IMAGE_BITMAP)
            return 0;
        HBITMAP hOld = m_hBitmap;
        m_hBitmap = (HBITMAP)lParam;
        BITMAP bm{};
        if ((GetStyle() & SS_TYPEMASK) == SS_BITMAP && m_hBitmap &&
            ::GetObject(m_hBitmap, sizeof(bm), &bm)) {
            // A bitmap static takes its bitmap's size; its top-left corner stays.
            CRect rc;
            GetWindowRect(&rc);
            if (CWnd* pParent = (GetStyle() & WS_CHILD) ? GetParent() : nullptr)
                pParent->ScreenToClient(&rc);
            MoveWindow(rc.left, rc.top, bm.bmWidth, bm.bmHeight, TRUE);
        }
        Invalidate();
        return (LRESULT)hOld;
    }
    case STM_GETIMAGE:
        return wParam == IMAGE_BITMAP ? (LRESULT)m_hBitmap : 0;
    case WM_SETTEXT: {
        LRESULT result = CWnd::DefWindowProc(message, wParam, lParam);
        Invalidate();
        return result;
    }
    case WM_ENABLE:
        Invalidate();
        return 0;
    default:
        break;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

void CStatic::Paint(CDC* pDC) {
    CRect rc;
    GetClientRect(&rc);
    DWORD dwStyle = GetStyle();
    DWORD dwType = dwStyle & SS_TYPEMASK;
    if (dwType >= SS_BLACKRECT && dwType <= SS_WHITEFRAME) {
        CBrush* pBrush = CBrush::FromHandle(GetSysColorBrush(FrameColour(dwType)));
        if (dwType <= SS_WHITERECT) {
            pDC->FillRect(&rc, pBrush);
        } else {
            pDC->FrameRect(&rc, pBrush);
        }
        return;
    }
    if (dwType != SS_BITMAP && !IsTextType(dwType))
        return;
    // The parent chooses the colours: its answer paints the background, the text takes the
    // context's colours.
    CWnd* pAsk = GetParent() ? GetParent() : this;
    HBRUSH hbr = (HBRUSH)pAsk->SendMessage(WM_CTLCOLORSTATIC, (WPARAM)pDC->m_hDC, (LPARAM)m_hWnd);
    if (hbr)
        pDC->FillRect(&rc, CBrush::FromHandle(hbr));
    if (dwType == SS_BITMAP) {
        BITMAP bm{};
        if (!m_hBitmap || !::GetObject(m_hBitmap, sizeof(bm), &bm))
            return;
        CDC memDC;
        if (!memDC.CreateCompatibleDC(pDC))
            return;
        CBitmap* pOld = memDC.SelectObject(CBitmap::FromHandle(m_hBitmap));
        int x = 0, y = 0;
        if (dwStyle & SS_CENTERIMAGE) {
            x = (rc.Width() - bm.bmWidth) / 2;
            y = (rc.Height() - bm.bmHeight) / 2;
        }
        pDC->BitBlt(x, y, bm.bmWidth, bm.bmHeight, &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(pOld);
        return;
    }
    CString strText;
    GetWindowText(strText);
    CFont* pFont = GetFont();
    CFont* pOldFont = pFont ? pDC->SelectObject(pFont) : nullptr;
    if (!IsWindowEnabled())
        pDC->SetTextColor(GetSysColor(COLOR_GRAYTEXT));
    pDC->DrawText(strText, &rc, TextFormat(dwStyle));
    if (pOldFont)
        pDC->SelectObject(pOldFont);
}
