// Navigation: the command router, the thumbnail click, the view switch and the About box.
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
    if ((nID == ID_NEXT || nID == ID_PREVIOUS) && bClick) {
        CWaitCursorScope wait(this);
        NavigationPrelude();
        nID == ID_NEXT ? StepNext() : StepPrevious();
    } else if (nID == ID_ITEM_LIST && nCode == CBN_SELCHANGE) {
        CWaitCursorScope wait(this);
        NavigationPrelude();
        StepToListRow();
    } else if (nID == ID_EXIT && bClick) {
        DestroyWindow();
        return TRUE;
    } else if (nID == ID_SHOW_IMAGE && bClick) {
        CWaitCursorScope wait(this);
        if (!m_bImageShown) {
            ReleaseItem();
            m_bDetailsShown = FALSE;
            ShowView(VIEW_IMAGE);
        }
        m_bPreferDetails = FALSE;
    } else if (nID == ID_SHOW_DETAILS && bClick) {
        CWaitCursorScope wait(this);
        if (!m_bDetailsShown) {
            ReleaseItem();
            m_bImageShown = FALSE;
            ShowView(VIEW_DETAILS);
        }
        m_bPreferDetails = TRUE;
    } else if (nID == ID_SHOW_THUMBNAILS && bClick) {
        CWaitCursorScope wait(this);
        ReleaseItem();
        m_bThumbsAtCurrent = TRUE;
        ShowView(VIEW_THUMBNAILS);
        SelectRow(1);
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

BOOL CViewerDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_LEFT || pMsg->wParam == VK_RIGHT) &&
        IsWindowEnabled() && !m_itemList.GetDroppedState()) {
        XWebButton& button = pMsg->wParam == VK_RIGHT ? m_btnNext : m_btnPrevious;
        SendMessage(WM_COMMAND, MAKEWPARAM(button.GetDlgCtrlID(), BN_CLICKED),
                    (LPARAM)button.GetSafeHwnd());
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CViewerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && lParam != 0 && ((NMHDR*)lParam)->code == (UINT)NM_CLICK) {
        CThumbnailCell* pCell =
            dynamic_cast<CThumbnailCell*>(CWnd::FromHandle(((NMHDR*)lParam)->hwndFrom));
        if (pCell != nullptr) OnThumbnailClick(pCell);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CViewerDlg::OnThumbnailClick(CThumbnailCell* pCell) {
    // The click loads and decodes the item's picture, as NEXT does.
    CWaitCursorScope wait(this);
    m_nCurrent = pCell->m_nItemIndex;
    SelectRow(pCell->m_nListIndex + 3);
    if (pCell->IsDamaged()) {
        // Nothing of the item can be shown, so the preference stays as it was.
        OpenItemOfRow(pCell->m_nListIndex + 3);
    } else if (pCell->m_bHasPicture) {
        ShowView(VIEW_IMAGE);
        m_bPreferDetails = FALSE;
    } else {
        m_bPreferDetails = TRUE;
        ShowView(VIEW_DETAILS);
        if (m_bDetailsShown) m_btnImage.EnableWindow(FALSE);
    }
}

// The cells forget the picture before its record goes, so no repaint reaches freed pixels.
void CViewerDlg::ReleaseItem() {
    if (m_pItem == nullptr) return;
    m_imageCell.ClearPicture();
    if (m_pDetailsCell != nullptr) m_pDetailsCell->ClearPicture();
    delete m_pItem;
    m_pItem = nullptr;
}

void CViewerDlg::NavigationPrelude() {
    ReleaseItem();
    m_bThumbsAtCurrent = FALSE;
    m_nListSel = m_itemList.GetCurSel();
}

void CViewerDlg::SelectRow(int nRow) {
    m_itemList.SetCurSel(nRow);
}

void CViewerDlg::OpenItemOfRow(int nRow) {
    m_nCurrent = (int)m_itemList.GetItemData(nRow);
    ShowView(m_bPreferDetails ? VIEW_DETAILS : VIEW_IMAGE);
}

void CViewerDlg::StepNext() {
    const int s = m_nListSel;
    if (s == m_nLastListRow) {
        SelectRow(0);
        ShowView(VIEW_COMMENTS);
    } else if (s == 0) {
        SelectRow(1);
        ShowView(VIEW_THUMBNAILS);
    } else if (s == 1) {
        SelectRow(3);
        OpenItemOfRow(3);
    } else {
        SelectRow(s + 1);
        OpenItemOfRow(s + 1);
    }
}

void CViewerDlg::StepPrevious() {
    const int s = m_nListSel;
    if (s == 0) {
        SelectRow(m_nLastListRow);
        OpenItemOfRow(m_nLastListRow);
    } else if (s == 1) {
        SelectRow(0);
        ShowView(VIEW_COMMENTS);
    } else if (s == 3) {
        SelectRow(1);
        ShowView(VIEW_THUMBNAILS);
    } else {
        SelectRow(s - 1);
        OpenItemOfRow(s - 1);
    }
}

void CViewerDlg::StepToListRow() {
    const int s = m_nListSel;
    if (s == 0) {
        ShowView(VIEW_COMMENTS);
    } else if (s == 1) {
        ShowView(VIEW_THUMBNAILS);
    } else if (s == 2) {
        SelectRow(1);
        ShowView(VIEW_THUMBNAILS);
    } else if (s > 2) {
        OpenItemOfRow(s);
    }
}

void CViewerDlg::ShowView(int nView) {
    switch (nView) {
    case VIEW_COMMENTS: ShowComments(); break;
    case VIEW_THUMBNAILS: ShowThumbnails(); break;
    case VIEW_IMAGE: ShowImage(); break;
    case VIEW_DETAILS: ShowDetails(); break;
    default: break;
    }
}

void CViewerDlg::HideDetailsParts() {
    m_detailsPanel.ShowWindow(SW_HIDE);
    if (m_pDetailsCell != nullptr) m_pDetailsCell->ShowWindow(SW_HIDE);
    m_detailsFrame.ShowWindow(SW_HIDE);
    if (m_partnerLink.GetSafeHwnd() != nullptr) m_partnerLink.ShowWindow(SW_HIDE);
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
    if (m_pCurrentView != nullptr) m_pCurrentView->ShowWindow(SW_HIDE);
    HideDetailsParts();
    HideTabs();
    m_commentsPage.ShowWindow(SW_SHOW);
    if (m_commentsPage.GetCommentsPanel().GetSafeHwnd() != nullptr)
        m_commentsPage.GetCommentsPanel().ScrollToPosition(CPoint(0, 0));
    m_pCurrentView = &m_commentsPage;
}

void CViewerDlg::ShowThumbnails() {
    if (m_pCurrentView != nullptr) m_pCurrentView->ShowWindow(SW_HIDE);
    m_thumbnailsPage.GetNextLink().ShowWindow(SW_HIDE);
    m_thumbnailsPage.GetPreviousLink().ShowWindow(SW_HIDE);
    HideDetailsParts();
    HideTabs();
    if (!m_bThumbsAtCurrent) {
        m_thumbnailsPage.m_nFirst = 0;
        m_thumbnailsPage.LoadItemCount();
    } else {
        m_thumbnailsPage.m_nFirst -= 8;
        m_thumbnailsPage.LoadItemCount();
        m_thumbnailsPage.m_nRemaining -= m_thumbnailsPage.m_nFirst;
    }
    m_thumbnailsPage.ShowWindow(SW_SHOW);
    m_thumbnailsPage.FillPage();
    m_pCurrentView = &m_thumbnailsPage;
}

void CViewerDlg::ShowImage() {
    if (m_pCurrentView != nullptr) m_pCurrentView->ShowWindow(SW_HIDE);
    HideDetailsParts();
    ShowTabs();
    m_btnImage.EnableWindow(TRUE);
    m_imageCell.m_bClickable = FALSE;
    if (!LoadCurrentItem(m_nCurrent)) {
        ShowDamagedItem(m_nCurrent);
        return;
    }
    m_strCaption1 = m_pItem->m_strLine1;
    m_strCaption2 = m_pItem->m_strLine2;
    m_strCaption3 = m_pItem->m_strName;
    CImageList imageList;
    m_pItem->CopyImageList(&imageList);
    if (CItemPicture* pPicture = m_pItem->GetPicture())
        m_imageCell.SetPicture(pPicture, m_nCurrent);
    else
        m_imageCell.SetIconAndCaptions(&imageList, m_nCurrent, m_strCaption1, m_strCaption2,
                                       m_strCaption3);
    if (!m_imageCell.m_bHasPicture) {
        ShowView(VIEW_DETAILS);
        if (m_bDetailsShown) m_btnImage.EnableWindow(FALSE);
        return;
    }
    m_imageCell.ShowWindow(SW_SHOW);
    m_thumbnailsPage.m_nFirst = m_nCurrent - (m_nCurrent % 8) + 8;
    m_bDetailsShown = FALSE;
    m_pCurrentView = &m_imageCell;
    m_bImageShown = TRUE;
}

void CViewerDlg::ShowDetails() {
    if (m_pCurrentView != nullptr) m_pCurrentView->ShowWindow(SW_HIDE);
    ShowTabs();
    m_btnImage.EnableWindow(TRUE);
    m_imageCell.m_bClickable = FALSE;
    if (!UpdateDetailsPanel(m_nCurrent)) {
        ShowDamagedItem(m_nCurrent);
        return;
    }
    UpdateDetailsCell(m_nCurrent);
    if (!m_pDetailsCell->m_bHasPicture) m_btnImage.EnableWindow(FALSE);
    m_detailsPanel.ShowWindow(SW_SHOW);
    m_detailsPanel.EnableWindow(TRUE);
    if (m_partnerLink.GetSafeHwnd() != nullptr) m_partnerLink.ShowWindow(SW_SHOW);
    m_bImageShown = FALSE;
    m_bDetailsShown = TRUE;
    m_pCurrentView = &m_detailsPanel;
}

BOOL CViewerDlg::LoadCurrentItem(int nIndex) {
    ReleaseItem();
    try {
        m_pItem = m_collection.LoadItem(nIndex);
    } catch (const CException&) {
        m_pItem = nullptr;
    }
    return m_pItem != nullptr;
}

// The damaged item stands in its place in the ring, in the image view's window, so that NEXT
// and PREVIOUS go on past it; there is nothing to switch to, so IMAGE is off.
void CViewerDlg::ShowDamagedItem(int nIndex) {
    HideDetailsParts();
    ShowTabs();
    m_btnImage.EnableWindow(FALSE);
    CString strName;
    try {
        m_collection.LoadItemName(nIndex, strName);
    } catch (const CException&) {
        strName.Empty();
    }
    m_imageCell.SetDamaged(nIndex, strName);
    m_imageCell.ShowWindow(SW_SHOW);
    m_imageCell.Invalidate();
    m_thumbnailsPage.m_nFirst = nIndex - (nIndex % 8) + 8;
    m_bImageShown = FALSE;
    m_bDetailsShown = FALSE;
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
