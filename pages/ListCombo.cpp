#include "pages/ListCombo.h"

#include "framework/gdi/DC.h"

namespace {

// Room above and below the text of every row.
const int ROW_PADDING = 3;

} // namespace

CListCombo::~CListCombo() {
    m_fontMeasure.DeleteObject();
}

// Every row, and the closed selection field with them, gets the same height.
void CListCombo::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    CFont* pOldFont = nullptr;
    if (m_fontMeasure.GetSafeHandle() != nullptr)
        pOldFont = pDC->SelectObject(&m_fontMeasure);
    const CSize size = pDC->GetTextExtent("W", 1);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
    ReleaseDC(pDC);
    lpMeasureItemStruct->itemHeight = (UINT)(size.cy + ROW_PADDING);
}

BOOL CListCombo::IsSelectableRow(int nIndex) const {
    return nIndex != SEPARATOR_ROW && CComboBox::IsSelectableRow(nIndex);
}

void CListCombo::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    // A request without a row (no selection yet) draws nothing.
    const int nRow = (int)lpDrawItemStruct->itemID;
    if (nRow < 0)
        return;
    CString strText;
    GetLBText(nRow, strText);
    // The context belongs to the system: borrow it, never delete it.
    CDC dc;
    dc.Attach(lpDrawItemStruct->hDC);
    const CRect rcItem(lpDrawItemStruct->rcItem);
    if (nRow == SEPARATOR_ROW)
        DrawSeparator(dc, rcItem);
    else
        DrawTextRow(dc, rcItem, strText, lpDrawItemStruct->itemState);
    dc.Detach();
}

// Only the line, in the context's pen: no fill and no highlight, also when selected.
void CListCombo::DrawSeparator(CDC& dc, const CRect& rcItem) {
    const int y = rcItem.top + (rcItem.bottom - rcItem.top) / 2;
    dc.MoveTo(rcItem.left, y);
    dc.LineTo(rcItem.right, y);
}

void CListCombo::DrawTextRow(CDC& dc, const CRect& rcItem, const CString& strText, UINT itemState) {
    const COLORREF crOldText = dc.GetTextColor();
    const COLORREF crOldBack = dc.GetBkColor();
    COLORREF crFill = crOldBack;
    if (itemState & ODS_SELECTED) {
        dc.SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
        dc.SetBkColor(GetSysColor(COLOR_HIGHLIGHT));
        crFill = GetSysColor(COLOR_HIGHLIGHT);
    }
    dc.FillSolidRect(rcItem, crFill);
    // One line from the top left, cut at the row's right edge without an ellipsis.
    CRect rcText(rcItem);
    dc.DrawText(strText, rcText, DT_SINGLELINE);
    dc.SetTextColor(crOldText);
    dc.SetBkColor(crOldBack);
}
