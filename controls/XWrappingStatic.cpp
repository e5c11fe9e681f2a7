#include "controls/XWrappingStatic.h"

#include <algorithm>
#include <climits>
#include <cstdint>

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
// One wrapped line on its own: clipped by the context to the text rectangle, as the whole
// text is.
const UINT FORMAT_LINE = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;

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
    m_nLinesWidth = -1;
    SendMessage(WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), FALSE);
}

void XWrappingStatic::SetText(LPCTSTR lpszText) {
    m_strText = lpszText;
    m_nLinesWidth = -1;
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
        if (m_strText.Find('&') < 0) {
            // Without an "&" the measurement wraps as the paint does: the lines are kept for it,
            // so that a long text is wrapped once, not once more at its first paint.
            WrapLines(pDC, rcText.Width(), SIZE_MAX);
            const long long nLines = (long long)m_lines.size();
            rcText.bottom = (int)std::min<long long>(nLines * m_nLineHeight, INT_MAX);
        } else {
            pDC->DrawText(m_strText, rcText, FORMAT_MEASURE);
        }
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
    // The part to paint that shows: a field in a scrolling panel may be far taller than the
    // screen, and a bitmap of all of it would be slow to fill and, past the largest bitmap, blank.
    CRect rcDraw;
    dc.GetClipBox(rcDraw);
    if (!rcDraw.IntersectRect(rcDraw, rcClient))
        return;

    CDC dcMemory;
    dcMemory.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    CBitmap* pOldBitmap = nullptr;
    if (bitmap.CreateCompatibleBitmap(&dc, rcDraw.Width(), rcDraw.Height()))
        pOldBitmap = dcMemory.SelectObject(&bitmap);

    // The bitmap holds rcDraw: drawing keeps the client's coordinates.
    dcMemory.SetWindowOrg(rcDraw.left, rcDraw.top);
    DrawContents(&dcMemory, rcClient, rcDraw);
    dcMemory.SetWindowOrg(0, 0);
    dc.BitBlt(rcDraw.left, rcDraw.top, rcDraw.Width(), rcDraw.Height(), &dcMemory, 0, 0, SRCCOPY);

    if (pOldBitmap)
        dcMemory.SelectObject(pOldBitmap);
    bitmap.DeleteObject();
    dcMemory.DeleteDC();
}

void XWrappingStatic::WrapLines(CDC* pDC, int nWidth, size_t nCount) {
    std::vector<TEXT_LINE> paragraph;
    if (m_nLinesWidth != nWidth) {
        m_lines.clear();
        m_nWrappedTo = 0;
        m_nLinesWidth = nWidth;
        m_nLineHeight = pDC->GetTextLines("", 0, nWidth, FORMAT_PAINT, paragraph);
    }
    const LPCSTR text = m_strText.GetString();
    const int nLength = m_strText.GetLength();
    while (m_lines.size() < nCount && m_nWrappedTo < nLength) {
        int nEnd = m_nWrappedTo;
        while (nEnd < nLength && text[nEnd] != '\n' && text[nEnd] != '\r')
            ++nEnd;
        if (nEnd == m_nWrappedTo) {
            m_lines.push_back(TEXT_LINE{m_nWrappedTo, 0});
        } else {
            pDC->GetTextLines(text + m_nWrappedTo, nEnd - m_nWrappedTo, nWidth, FORMAT_PAINT,
                              paragraph);
            for (const TEXT_LINE& line : paragraph)
                m_lines.push_back(TEXT_LINE{line.nOffset + m_nWrappedTo, line.nLength});
        }
        // "\r\n", "\r" and "\n" each end a line; a break at the very end opens no further one.
        if (nEnd < nLength)
            nEnd += text[nEnd] == '\r' && nEnd + 1 < nLength && text[nEnd + 1] == '\n' ? 2 : 1;
        m_nWrappedTo = nEnd;
    }
}

void XWrappingStatic::DrawContents(CDC* pDC, const CRect& rcClient, const CRect& rcDraw) {
    CBrush* pOldBrush = pDC->SelectObject(&m_brBack);
    pDC->PatBlt(rcDraw.left, rcDraw.top, rcDraw.Width(), rcDraw.Height(), PATCOPY);
    if (pOldBrush)
        pDC->SelectObject(pOldBrush);

    CRect rcText = rcClient;
    rcText.DeflateRect(m_rcMargins.left, m_rcMargins.top, m_rcMargins.right, m_rcMargins.bottom);
    if (rcText.IsRectEmpty())
        return;
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(rcText);
    pDC->SelectObject(&m_font);
    pDC->SetTextColor(m_crText);
    pDC->SetBkMode(TRANSPARENT);

    // Each line alone, where the whole text would put it; the neighbours of the lines in view
    // too, for glyphs that reach past their line.
    WrapLines(pDC, rcText.Width(), 0);
    if (m_nLineHeight > 0) {
        const long long h = m_nLineHeight;
        const long long first = std::max(0LL, ((long long)rcDraw.top - rcText.top) / h - 1);
        const long long wanted = ((long long)rcDraw.bottom - rcText.top + h - 1) / h + 1;
        WrapLines(pDC, rcText.Width(), (size_t)std::max(0LL, wanted));
        const std::vector<TEXT_LINE>& lines = m_lines;
        const long long last = std::min((long long)lines.size(), wanted);
        const LPCSTR text = m_strText.GetString();
        for (long long i = first; i < last; i++) {
            const long long top = rcText.top + i * h;
            if (top > INT_MAX - h)
                break;
            CRect rcLine(rcText.left, (int)top, rcText.right, (int)(top + h));
            const TEXT_LINE& line = lines[(size_t)i];
            pDC->DrawText(text + line.nOffset, line.nLength, rcLine, FORMAT_LINE);
        }
    }
    pDC->RestoreDC(nSaved);
}

void XWrappingStatic::OnDestroy() {
    m_brBack.DeleteObject();
    m_font.DeleteObject();
    CWnd::OnDestroy();
}
