#include "controls/XWrappingStatic.h"

#include "framework/gdi/DC.h"
#include "framework/window/Cursor.h"
#include "framework/window/PaintDC.h"

IMPLEMENT_DYNCREATE(XWrappingStatic, CWnd)

namespace {

const int FIELD_FONT_HEIGHT = 14;
// Measuring keeps mnemonic processing on, painting shows every "&": the two can differ by a
// line, and the owners size the fields from the measurement.
const UINT FORMAT_MEASURE = DT_CALCRECT | DT_WORDBREAK | DT_VCENTER;
const UINT FORMAT_PAINT = DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX;

} // namespace

XWrappingStatic::XWrappingStatic() : m_rcMargins(5, 5, 5, 5), m_crText(RGB(0, 0, 0)) {
    m_brBack.CreateSolidBrush(RGB(192, 192, 192));
}

XWrappingStatic::~XWrappingStatic() {
    m_brBack.DeleteObject();
    m_font.DeleteObject();
}

BOOL XWrappingStatic::Create(CWnd* pParentWnd, BOOL bBold) {
    LPCTSTR lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr);
    const BOOL bCreated =
        CWnd::Create(lpszClass, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParentWnd, 0);
    if (::IsWindow(m_hWnd))
        CreateTextFont(bBold);
    return bCreated;
}

void XWrappingStatic::CreateTextFont(BOOL bBold) {
    LOGFONT lf = {};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lf, 0);
    if (bBold == 1)
        lf.lfWeight = FW_BOLD;
    lf.lfHeight = FIELD_FONT_HEIGHT;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    SendMessage(WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), FALSE);
}

void XWrappingStatic::SetText(LPCTSTR lpszText) {
    m_strText = lpszText;
}

void XWrappingStatic::SetBackColor(COLORREF crBack) {
    m_brBack.DeleteObject();
    m_brBack.CreateSolidBrush(crBack);
}

void XWrappingStatic::SetTextColor(COLORREF crText) {
    m_crText = crText;
}

int XWrappingStatic::GetWrappedHeight(int nWidth) {
    CDC* pDC = GetDC();
    // Before the window exists there is no window context; a memory one measures the same.
    CDC dcMemory;
    if (!pDC && dcMemory.CreateCompatibleDC(nullptr))
        pDC = &dcMemory;
    CRect rcText(0, 0, nWidth - m_rcMargins.left - m_rcMargins.right, 0);
    if (pDC) {
        CFont* pOldFont = pDC->SelectObject(&m_font);
        pDC->DrawText(m_strText, rcText, FORMAT_MEASURE);
        if (pOldFont)
            pDC->SelectObject(pOldFont);
        if (pDC != &dcMemory)
            ReleaseDC(pDC);
    }
    return m_rcMargins.top + m_rcMargins.bottom + rcText.Height();
}

LRESULT XWrappingStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RBUTTONDOWN) {
        if (CWnd* pParent = GetParent()) {
            const int nID = GetDlgCtrlID();
            NMHDR nmhdr = {m_hWnd, (UINT_PTR)nID, NM_RCLICK};
            pParent->SendMessage(WM_NOTIFY, (WPARAM)nID, (LPARAM)&nmhdr);
        }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Everything is painted in one go from the off-screen bitmap; erasing first would flicker.
BOOL XWrappingStatic::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void XWrappingStatic::OnPaint() {
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(rcClient);

    CDC dcMemory;
    dcMemory.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    CBitmap* pOldBitmap = nullptr;
    if (bitmap.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height()))
        pOldBitmap = dcMemory.SelectObject(&bitmap);

    DrawContents(&dcMemory, rcClient);
    dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMemory, 0, 0, SRCCOPY);

    if (pOldBitmap)
        dcMemory.SelectObject(pOldBitmap);
    bitmap.DeleteObject();
    dcMemory.DeleteDC();
}

void XWrappingStatic::DrawContents(CDC* pDC, const CRect& rcClient) {
    CBrush* pOldBrush = pDC->SelectObject(&m_brBack);
    pDC->PatBlt(rcClient.left, rcClient.top, rcClient.Width(), rcClient.Height(), PATCOPY);
    if (pOldBrush)
        pDC->SelectObject(pOldBrush);

    CRect rcText = rcClient;
    rcText.DeflateRect(m_rcMargins.left, m_rcMargins.top, m_rcMargins.right, m_rcMargins.bottom);
    CFont* pOldFont = pDC->SelectObject(&m_font);
    pDC->SetTextColor(m_crText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(m_strText, rcText, FORMAT_PAINT);
    if (pOldFont)
        pDC->SelectObject(pOldFont);
}

void XWrappingStatic::OnDestroy() {
    m_brBack.DeleteObject();
    m_font.DeleteObject();
    CWnd::OnDestroy();
}
