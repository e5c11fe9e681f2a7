// Navigation: the command router, the thumbnail click, the view switch, decoding ahead and the
// About box.
#include "branding/PartnerLayout.h"
#include "framework/core/Exception.h"
#include "framework/gdi/DC.h"
#include "framework/window/WinApp.h"
#include "framework/window/WindowDC.h"
#include "res/ResourceIds.h"
#include "shell/ViewerDlg.h"

namespace {

const COLORREF DIM_COLOUR = RGB(10, 10, 10);

// Runs a command under the wait cursor, however it ends.
class CWaitCursorScope {
public:
    explicit CWaitCursorScope(CCmdTarget* pTarget) : m_pTarget(pTarget) {
        m_pTarget->BeginWaitCursor();
    }
    ~CWaitCursorScope() {
        m_pTarget->RestoreWaitCursor();
        m_pTarget->EndWaitCursor();
    }
    CWaitCursorScope(const CWaitCursorScope&) = delete;
    CWaitCursorScope& operator=(const CWaitCursorScope&) = delete;

private:
    CCmdTarget* m_pTarget;
};

} // namespace

BOOL CViewerDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const BOOL bClick = nCode == CN_COMMAND;
    if (nID == ID_NEXT && bClick) {
        m_bTravelBack = FALSE;
        Navigate(m_nav.Next());
    } else if (nID == ID_PREVIOUS && bClick) {
        m_bTravelBack = TRUE;
        Navigate(m_nav.Previous());
    } else if (nID == ID_ITEM_LIST && nCode == CBN_SELCHANGE) {
        Navigate(m_nav.PickRow(m_itemList.GetCurSel()));
    } else if (nID == ID_SHOW_IMAGE && bClick) {
        Navigate(m_nav.ImageTab());
    } else if (nID == ID_SHOW_DETAILS && bClick) {
        Navigate(m_nav.DetailsTab());
    } else if (nID == ID_SHOW_THUMBNAILS && bClick) {
        Navigate(m_nav.ThumbnailsTab());
    } else if (nID == ID_EXIT && bClick) {
        DestroyWindow();
        return TRUE;
    } else if (nID == ID_MINIMIZE) {
        ShowWindow(SW_SHOWMINIMIZED);
    } else if (nID == ID_ABOUT) {
        ShowAboutBox();
        EnableWindow(FALSE);
    } else if (nID == ID_MAKER_LINK && bClick) {
        CString strAddress;
        strAddress.LoadString(IDS_MAKER_WEB_ADDRESS);
        CLinkStatic::OpenWebAddress(strAddress, SW_SHOW);
    } else if (nID == ID_PARTNER_LOGO && bClick && m_partnerLink.GetSafeHwnd() != nullptr) {
        CLinkStatic::OpenWebAddress(g_strPartnerUrl, SW_SHOW);
    }
    return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CViewerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && lParam != 0 && ((NMHDR*)lParam)->code == (UINT)NM_CLICK) {
        CThumbnailCell* pCell =
            dynamic_cast<CThumbnailCell*>(CWnd::FromHandle(((NMHDR*)lParam)->hwndFrom));
        if (pCell != nullptr)
            OnThumbnailClick(pCell);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CViewerDlg::OnThumbnailClick(CThumbnailCell* pCell) {
    Navigate(m_nav.ClickCell(pCell->m_nItemIndex, pCell->m_bHasPicture, pCell->IsDamaged()));
}

// Every switch loads and decodes under the wait cursor, and lets the held item go first, and
// the item decoded ahead unless it is the one to show. Once the switch is painted and the
// program idle, the next item in the direction of travel is decoded ahead.
void CViewerDlg::Navigate(const NAV_SHOW& show) {
    CWaitCursorScope wait(this);
    if (show.bStay)
        return;
    if (!IsItemView(show.nView) || !m_ahead.Holds(show.nItem, LoadBoxFor(show.nView)))
        m_ahead.Drop();
    ReleaseItem();
    m_itemList.SetCurSel(show.nRow);
    ShowView(show);
    SetTimer(TIMER_DECODE_AHEAD, 0, nullptr);
}

// The cells forget the picture before its record goes, so no repaint reaches freed pixels.
void CViewerDlg::ReleaseItem() {
    if (m_pItem == nullptr)
        return;
    m_imageCell.ClearPicture();
    if (m_pDetailsCell != nullptr)
        m_pDetailsCell->ClearPicture();
    delete m_pItem;
    m_pItem = nullptr;
}

void CViewerDlg::ShowView(const NAV_SHOW& show) {
    switch (show.nView) {
    case VIEW_COMMENTS:
        ShowComments();
        break;
    case VIEW_THUMBNAILS:
        ShowThumbnails(show.nPageFirst);
        break;
    case VIEW_IMAGE:
    case VIEW_DETAILS:
        ShowItem(show.nView, show.nItem);
        break;
    default:
        break;
    }
}

void CViewerDlg::HideCurrentView() {
    if (m_pCurrentView != nullptr)
        m_pCurrentView->ShowWindow(SW_HIDE);
}

void CViewerDlg::HideDetailsParts() {
    m_detailsPanel.ShowWindow(SW_HIDE);
    if (m_pDetailsCell != nullptr)
        m_pDetailsCell->ShowWindow(SW_HIDE);
    m_detailsFrame.ShowWindow(SW_HIDE);
    if (m_partnerLink.GetSafeHwnd() != nullptr)
        m_partnerLink.ShowWindow(SW_HIDE);
}

void CViewerDlg::HideTabs() {
    for (XWebButton* pTab : {&m_btnThumbnails, &m_btnImage, &m_btnDetails})
        pTab->ShowWindow(SW_HIDE);
}

void CViewerDlg::ShowTabs() {
    for (XWebButton* pTab : {&m_btnImage, &m_btnThumbnails, &m_btnDetails})
        pTab->ShowWindow(SW_SHOW);
}

void CViewerDlg::ShowComments() {
    HideCurrentView();
    HideDetailsParts();
    HideTabs();
    m_commentsPage.ShowWindow(SW_SHOW);
    if (m_commentsPage.GetCommentsPanel().GetSafeHwnd() != nullptr)
        m_commentsPage.GetCommentsPanel().ScrollToPosition(CPoint(0, 0));
    m_pCurrentView = &m_commentsPage;
}

void CViewerDlg::ShowThumbnails(int nPageFirst) {
    HideCurrentView(); // a hidden page lets its records go
    HideDetailsParts();
    HideTabs();
    m_thumbnailsPage.ShowWindow(SW_SHOW);
    m_thumbnailsPage.ShowPageOf(nPageFirst);
    m_pCurrentView = &m_thumbnailsPage;
}

// The item is loaded once; without a picture the image view gives way to its details.
void CViewerDlg::ShowItem(int nView, int nIndex) {
    HideCurrentView();
    ShowTabs();
    if (!LoadCurrentItem(nIndex, nView)) {
        m_nav.ShownDamaged();
        ShowDamagedItem(nIndex);
        return;
    }
    const BOOL bHasPicture = m_pItem->GetPicture() != nullptr;
    m_btnImage.EnableWindow(bHasPicture);
    if (nView == VIEW_IMAGE && bHasPicture) {
        ShowImage(nIndex);
        return;
    }
    if (nView == VIEW_IMAGE)
        m_nav.ShownWithoutPicture();
    ShowDetails(nIndex);
}

void CViewerDlg::ShowImage(int nIndex) {
    HideDetailsParts();
    m_imageCell.ShowItem(m_pItem, nIndex);
    m_imageCell.ShowWindow(SW_SHOW);
    m_pCurrentView = &m_imageCell;
}

void CViewerDlg::ShowDetails(int nIndex) {
    UpdateDetailsPanel();
    UpdateDetailsCell(nIndex);
    m_detailsPanel.ShowWindow(SW_SHOW);
    m_detailsPanel.EnableWindow(TRUE);
    if (m_partnerLink.GetSafeHwnd() != nullptr)
        m_partnerLink.ShowWindow(SW_SHOW);
    m_pCurrentView = &m_detailsPanel;
}

// Decoded reduced for the window of the view being shown; the image view's fallback to the
// details keeps this record, whose picture then still covers the smaller cell.
CSize CViewerDlg::LoadBoxFor(int nView) {
    CWnd* pShownIn = nView == VIEW_IMAGE ? (CWnd*)&m_imageCell : (CWnd*)m_pDetailsCell;
    CRect rcBox;
    if (pShownIn != nullptr && pShownIn->GetSafeHwnd() != nullptr)
        pShownIn->GetClientRect(&rcBox);
    return rcBox.Size();
}

// The item decoded ahead when it is this one, else the record read and decoded now.
BOOL CViewerDlg::LoadCurrentItem(int nIndex, int nView) {
    ReleaseItem();
    const CSize sizeBox = LoadBoxFor(nView);
    try {
        if (m_ahead.Holds(nIndex, sizeBox))
            m_pItem = m_ahead.Take(m_collection);
        if (m_pItem == nullptr)
            m_pItem = m_collection.LoadItem(nIndex, sizeBox);
    } catch (const CException&) {
        m_pItem = nullptr;
    }
    return m_pItem != nullptr;
}

// The damaged item stands in its place in the ring, in the image view's window, so that NEXT
// and PREVIOUS go on past it; there is nothing to switch to, so IMAGE is off.
void CViewerDlg::ShowDamagedItem(int nIndex) {
    HideDetailsParts();
    m_btnImage.EnableWindow(FALSE);
    m_imageCell.ShowDamagedItem(&m_collection, nIndex);
    m_imageCell.ShowWindow(SW_SHOW);
    m_imageCell.Invalidate();
    m_pCurrentView = &m_imageCell;
}

void CViewerDlg::ShowAboutBox() {
    CWindowDC dc(this);
    CRect rect;
    GetWindowRect(&rect);
    DimWindow(&dc, rect);
    m_aboutBox.ShowWindow(SW_SHOW);
}

void CViewerDlg::DimWindow(CDC* pDC, const CRect& rect) {
    static const WORD PATTERN[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    CBitmap bitmap;
    bitmap.CreateBitmap(8, 8, 1, 1, PATTERN);
    CBrush brush;
    brush.CreatePatternBrush(&bitmap);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const COLORREF crOldBk = pDC->SetBkColor(RGB(255, 255, 255));
    const COLORREF crOldText = pDC->SetTextColor(RGB(0, 0, 0));
    pDC->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), ROP_DEST_AND_PATTERN);
    pDC->SetBkColor(RGB(0, 0, 0));
    pDC->SetTextColor(DIM_COLOUR);
    pDC->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), ROP_DEST_OR_PATTERN);
    pDC->SelectObject(pOldBrush);
    pDC->SetBkColor(crOldBk);
    pDC->SetTextColor(crOldText);
    brush.DeleteObject();
    bitmap.DeleteObject();
}

void CViewerDlg::DecodeAhead() {
    CNavigation step = m_nav; // a copy: asked where the step would go, without taking it
    const NAV_SHOW show = m_bTravelBack ? step.Previous() : step.Next();
    if (!IsItemView(show.nView))
        return;
    const CSize sizeBox = LoadBoxFor(show.nView);
    if (!m_ahead.Holds(show.nItem, sizeBox))
        m_ahead.Start(m_collection, show.nItem, sizeBox);
}
