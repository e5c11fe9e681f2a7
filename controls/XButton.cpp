#include "controls/XButton.h"

#include "framework/gdi/DC.h"
#include "framework/system/Resources.h"
#include "framework/window/Cursor.h"
#include "res/ResourceIds.h"

IMPLEMENT_DYNCREATE(XButton, CButton)

XButton::XButton() {
    m_brBack.CreateSolidBrush(RGB(115, 130, 148));
    m_brText.CreateSolidBrush(RGB(255, 255, 255));
}

XButton::~XButton() {
    m_brBack.DeleteObject();
    m_brText.DeleteObject();
    m_font.DeleteObject();
}

BOOL XButton::Create(CWnd* pParentWnd, UINT nID, DWORD dwStyle, const RECT& rect) {
    const BOOL bCreated = CButton::Create("", dwStyle, rect, pParentWnd, nID);
    if (!::IsWindow(m_hWnd))
        return bCreated;

    LOGFONT lf = {};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lf, 0);
    lf.lfWeight = FW_SEMIBOLD;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    SendMessage(WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), 0);
    return bCreated;
}

void XButton::SetBackColor(COLORREF crBack) {
    m_brBack.DeleteObject();
    m_brBack.CreateSolidBrush(crBack);
}

void XButton::SetTextColor(COLORREF crText) {
    m_brText.DeleteObject();
    m_brText.CreateSolidBrush(crText);
}

COLORREF XButton::BrushColor(const CBrush& brush) {
    LOGBRUSH lb = {};
    brush.GetLogBrush(&lb);
    return lb.lbColor;
}

// Every kind of colour request gets the same answer.
HBRUSH XButton::CtlColor(CDC* pDC, UINT) {
    pDC->SetBkColor(BrushColor(m_brBack));
    pDC->SetTextColor(BrushColor(m_brText));
    return (HBRUSH)m_brBack.GetSafeHandle();
}

// The hand shows wherever the pointer is over the button, its frame included.
BOOL XButton::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)));
    return TRUE;
}
