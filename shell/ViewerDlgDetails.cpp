// The details view: the current item's details as rows of name and value in a scrolling panel,
// its picture small beside them, and the partner's logo in a branded copy.
#include <cstring>

#include "branding/PartnerLayout.h"
#include "framework/window/Messages.h"
#include "res/ResourceIds.h"
#include "shell/ViewerDlg.h"

namespace {

const int NAME_WIDTH = 170;
const int VALUE_X = 171;
const int VALUE_WIDTH = 385;
// Heights are measured at this width whatever width the value field finally gets.
const int VALUE_MEASURE_WIDTH = 359;
const int VALUE_WIDTH_EXTRA = 20;
const COLORREF ROW_TEXT = 0xCCCCCC;
const COLORREF PANEL_BACK = RGB(51, 51, 51);

} // namespace

void CViewerDlg::CreateDetailsCell() {
    const int L = m_nLeft, T = m_nTop;
    m_detailsFrame.Create("", WS_CHILD | SS_WHITEFRAME, CRect(L + 14, T + 184, L + 156, T + 386),
                          this, 0xFFFF);
    m_pDetailsCell = new CThumbnailCell;
    m_pDetailsCell->SetBackColor(RGB(0, 0, 0));
    m_pDetailsCell->Create(IDD_THUMBNAIL_CELL, this);
    m_pDetailsCell->MoveWindow(L + 15, T + 185, 140, 200);
    m_pDetailsCell->m_bClickable = FALSE;
    m_pDetailsCell->ShowWindow(SW_HIDE);
}

void CViewerDlg::CreateDetailsPanel() {
    const int L = m_nLeft, T = m_nTop;
    m_detailsPanel.Create(this, WS_CHILD | WS_VSCROLL, ID_ITEM_LIST);
    m_detailsPanel.ShowWindow(SW_HIDE);
    m_detailsPanel.MoveWindow(L + 215, T + 65, 570, 460);
    m_detailsPanel.SetBackColor(PANEL_BACK);
    m_detailsFiller.Create(&m_detailsPanel, FALSE);
    m_detailsFiller.SetBackColor(RGB(0, 0, 0));

    CString strMaker;
    strMaker.LoadString(IDS_MAKER_NAME);
    if (strcmp(g_strPartnerName, strMaker) == 0)
        return;
    CreateLogoLink(
        m_partnerLink, m_partnerLogoBitmap, IDB_PARTNER_LOGO,
        CPoint(L + GetPosition(REGION_LOGO, POS_LEFT), T + 68 + GetPosition(REGION_LOGO, POS_TOP)),
        ID_PARTNER_LOGO);
    m_partnerLink.ShowWindow(SW_HIDE);
}

void CViewerDlg::UpdateDetailsPanel() {
    CRect rcClient;
    m_detailsPanel.GetClientRect(&rcClient);
    const int W = rcClient.Width(), H = rcClient.Height();
    m_nValueWidthExtra = VALUE_WIDTH_EXTRA;
    BuildDetailRows();
    const int total = LayoutDetailRows();
    if (total > H) {
        m_nValueWidthExtra = 0;
        m_detailsFiller.MoveWindow(0, 0, 0, 0);
        LayoutDetailRows();
    } else {
        m_detailsFiller.MoveWindow(0, total, VALUE_WIDTH_EXTRA + W, H - total + 1);
    }
}

void CViewerDlg::BuildDetailRows() {
    const int n = m_detailRows.GetSize();
    if (n > 0) {
        DeleteDetailRows(n);
        m_detailRows.RemoveAll();
    }
    CString strName, strValue;
    for (int i = 0; i < m_pItem->GetDetailCount(); ++i) {
        m_pItem->GetDetail(i, strName, strValue);
        if (strValue.IsEmpty())
            continue;
        for (int bBold = 1; bBold >= 0; --bBold) {
            XWrappingStatic* pField = new XWrappingStatic;
            pField->Create(&m_detailsPanel, bBold);
            pField->SetText(bBold ? strName : strValue);
            pField->SetBackColor(0);
            pField->SetTextColor(ROW_TEXT);
            m_detailRows.Add(pField);
        }
    }
}

void CViewerDlg::DeleteDetailRows(int nCount) {
    for (int i = 0; i < nCount; ++i) {
        CObject* pRow = m_detailRows.GetAt(i);
        if (pRow != nullptr) {
            delete pRow;
            m_detailRows.SetAt(i, nullptr);
        }
    }
}

int CViewerDlg::LayoutDetailRows() {
    m_detailsPanel.ScrollToPosition(CPoint(0, 0));
    int y = 0;
    for (int k = 0; 2 * k + 1 < m_detailRows.GetSize(); ++k) {
        XWrappingStatic* pName = (XWrappingStatic*)m_detailRows.GetAt(2 * k);
        XWrappingStatic* pValue = (XWrappingStatic*)m_detailRows.GetAt(2 * k + 1);
        const int h = pValue->GetWrappedHeight(VALUE_MEASURE_WIDTH);
        pValue->MoveWindow(VALUE_X, y, VALUE_WIDTH + m_nValueWidthExtra, h);
        pName->MoveWindow(0, y, NAME_WIDTH, h);
        y += h + 1;
    }
    m_detailsPanel.SetContentSize(0, y);
    return y;
}

void CViewerDlg::UpdateDetailsCell(int nIndex) {
    m_pDetailsCell->ShowItem(m_pItem, nIndex);
    m_pDetailsCell->ShowWindow(SW_SHOW);
    m_pDetailsCell->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    m_detailsFrame.ShowWindow(SW_SHOW);
}
