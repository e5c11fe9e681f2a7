#include "controls/XWebButton.h"

#include "framework/gdi/DC.h"

IMPLEMENT_DYNCREATE(XWebButton, XButton)

namespace {

// One line, centred both ways and clipped to the face; "&" marks a mnemonic.
const UINT FORMAT_CAPTION = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

} // namespace

XWebButton::XWebButton() {
    m_brFrame.CreateSolidBrush(RGB(255, 255, 255));
}

XWebButton::~XWebButton() {
    m_brFrame.DeleteObject();
}

BOOL XWebButton::Create(CWnd* pParentWnd, UINT nID, DWORD dwStyle, const RECT& rect) {
    return XButton::Create(pParentWnd, nID, (dwStyle & ~BS_TYPEMASK) | BS_OWNERDRAW, rect);
}

void XWebButton::SetFrameColor(COLORREF crFrame) {
    m_brFrame.DeleteObject();
    m_brFrame.CreateSolidBrush(crFrame);
}

// The face is drawn only by DrawItem; erasing first would make it flicker.
BOOL XWebButton::OnEraseBkgnd(CDC*) {
    return FALSE;
}

// The item state and action are not consulted: every state looks the same.
void XWebButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rcItem = lpDrawItemStruct->rcItem;
    pDC->FrameRect(rcItem, &m_brFrame);
    rcItem.DeflateRect(1, 1);
    pDC->FillRect(rcItem, &m_brBack);

    CString strCaption;
    GetWindowText(strCaption);
    const COLORREF crOldText = pDC->SetTextColor(BrushColor(m_brText));
    pDC->DrawText(strCaption, rcItem, FORMAT_CAPTION);
    pDC->SetTextColor(crOldText);
}
