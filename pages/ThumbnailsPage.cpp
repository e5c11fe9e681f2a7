#include "pages/ThumbnailsPage.h"

#include <memory>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/gdi/DC.h"
#include "pages/CollectionOwner.h"
#include "pages/PageCommandIds.h"
#include "res/ResourceIds.h"

namespace {

const CPoint CELL_PLACES[CThumbnailsPage::CELL_COUNT] = {
    {50, 25}, {230, 25}, {410, 25}, {590, 25}, {50, 235}, {230, 235}, {410, 235}, {590, 235}};
const CSize CELL_SIZE(160, 200);
const COLORREF CELL_BACK = RGB(102, 102, 102);
const COLORREF LINK_HOVER = RGB(0, 255, 255);
const int LINK_TOP = 455;
const int LINK_BOTTOM = 470;

} // namespace

CThumbnailsPage::CThumbnailsPage(CWnd* pParent) : CDialog(IDD_THUMBNAILS_PAGE, pParent) {
    m_brBack.CreateSolidBrush(RGB(0, 0, 0));
}

CThumbnailsPage::~CThumbnailsPage() {
    for (CThumbnailCell*& pCell : m_pCells) {
        delete pCell;
        pCell = nullptr;
    }
    m_brBack.DeleteObject();
    m_fontLink.DeleteObject();
    for (CCollectionItem*& pItem : m_pItems) {
        delete pItem;
        pItem = nullptr;
    }
}

BOOL CThumbnailsPage::OnInitDialog() {
    CDialog::OnInitDialog();
    LoadItemCount();
    CreateLinks();
    CreateCells();
    return TRUE;
}

void CThumbnailsPage::LoadItemCount() {
    CCollectionFile* pCollection = CCollectionOwner::Of(GetParent());
    m_nRemaining = pCollection != nullptr ? pCollection->GetItemCount() : 0;
}

void CThumbnailsPage::ShowPageOf(int nItem) {
    LoadItemCount();
    if (nItem >= m_nRemaining)
        nItem = m_nRemaining - 1;
    if (nItem < 0)
        nItem = 0;
    m_nFirst = nItem - nItem % CELL_COUNT;
    m_nRemaining -= m_nFirst;
    FillPage();
}

void CThumbnailsPage::CreateLinks() {
    LOGFONT lf = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lf, 0);
    lf.lfUnderline = 1;
    lf.lfHeight = 13;
    m_fontLink.CreateFontIndirect(&lf);

    // Placed from the template's width: the main window resizes the page only afterwards.
    CRect rcClient;
    GetClientRect(&rcClient);
    const int half = rcClient.Width() / 2;
    CString strText;
    strText.LoadString(IDS_PREVIOUS_THUMBNAILS);
    m_previousLink.Create(strText, WS_CHILD | SS_NOTIFY | SS_RIGHT,
                          CRect(half - 60, LINK_TOP, half + 80, LINK_BOTTOM), this, ID_PREV_THUMBS);
    m_previousLink.SendMessage(WM_SETFONT, (WPARAM)m_fontLink.GetSafeHandle(), TRUE);
    CString strFormat;
    strFormat.LoadString(IDS_NEXT_THUMBNAILS);
    strText.Format(strFormat, CELL_COUNT);
    m_nextLink.Create(strText, WS_CHILD | SS_NOTIFY | SS_LEFT,
                      CRect(half + 180, LINK_TOP, half + 310, LINK_BOTTOM), this, ID_NEXT_THUMBS);
    m_nextLink.SendMessage(WM_SETFONT, (WPARAM)m_fontLink.GetSafeHandle(), TRUE);
}

void CThumbnailsPage::CreateCells() {
    for (CThumbnailCell*& pCell : m_pCells)
        pCell = new CThumbnailCell;
    for (CThumbnailCell* pCell : m_pCells)
        pCell->SetBackColor(CELL_BACK);
    for (CThumbnailCell* pCell : m_pCells)
        pCell->Create(IDD_THUMBNAIL_CELL, this);
    for (int k = 0; k < CELL_COUNT; ++k)
        m_pCells[k]->MoveWindow(CELL_PLACES[k].x, CELL_PLACES[k].y, CELL_SIZE.cx, CELL_SIZE.cy,
                                TRUE);
    for (CThumbnailCell* pCell : m_pCells)
        pCell->m_bClickable = TRUE;
}

void CThumbnailsPage::FillPage() {
    for (CCollectionItem*& pItem : m_pItems)
        pItem = nullptr;
    for (CLinkStatic* pLink : {&m_previousLink, &m_nextLink}) {
        pLink->ShowWindow(SW_HIDE);
        pLink->EnableWindow(FALSE);
    }
    if (m_nRemaining <= CELL_COUNT) {
        m_nShown = m_nRemaining > 0 ? m_nRemaining : 0;
        m_nLeftAfter = 0;
    } else {
        m_nShown = CELL_COUNT;
        m_nLeftAfter = m_nRemaining - CELL_COUNT;
    }
    LoadPage();
    for (int k = 0; k < m_nShown; ++k)
        ShowItemInCell(k, m_nFirst + k);
    if (m_nFirst >= CELL_COUNT) {
        m_previousLink.ShowWindow(SW_SHOW);
        m_previousLink.EnableWindow(TRUE);
    }
    if (m_nLeftAfter >= 1) {
        const int nNext = m_nLeftAfter < CELL_COUNT ? m_nLeftAfter : CELL_COUNT;
        CString strFormat, strText;
        strFormat.LoadString(nNext == 1 ? IDS_NEXT_THUMBNAIL : IDS_NEXT_THUMBNAILS);
        strText.Format(strFormat, nNext);
        m_nextLink.SetWindowText(strText);
        m_nextLink.ShowWindow(SW_SHOW);
        m_nextLink.EnableWindow(TRUE);
    }
    m_nFirst += m_nShown;
    for (int k = m_nShown; k < CELL_COUNT; ++k)
        m_pCells[k]->ShowWindow(SW_HIDE);
}

// The page's pictures decode together, each reduced for its cell. A damaged record fails the
// whole batch; the items are then loaded one by one, so that only that record's cell shows it.
void CThumbnailsPage::LoadPage() {
    CCollectionFile* pCollection = CCollectionOwner::Of(GetParent());
    if (pCollection == nullptr || m_nShown <= 0)
        return;
    std::vector<int> indices;
    for (int k = 0; k < m_nShown; ++k)
        indices.push_back(m_nFirst + k);
    std::vector<std::unique_ptr<CCollectionItem>> items;
    try {
        pCollection->LoadItems(indices, CELL_SIZE, items);
    } catch (const CException&) {
        items.clear();
    }
    for (int k = 0; k < m_nShown; ++k) {
        if (k < (int)items.size()) {
            m_pItems[k] = items[k].release();
            continue;
        }
        try {
            m_pItems[k] = pCollection->LoadItem(m_nFirst + k, CELL_SIZE);
        } catch (const CException&) {
            m_pItems[k] = nullptr;
        }
    }
}

void CThumbnailsPage::ShowItemInCell(int k, int nIndex) {
    CThumbnailCell* pCell = m_pCells[k];
    if (m_pItems[k] != nullptr)
        pCell->ShowItem(m_pItems[k], nIndex);
    else // The cell still opens the item, where the main window shows what is wrong with it.
        pCell->ShowDamagedItem(CCollectionOwner::Of(GetParent()), nIndex);
    pCell->ShowWindow(SW_SHOWNORMAL);
}

void CThumbnailsPage::ReleaseItems() {
    for (CThumbnailCell* pCell : m_pCells)
        if (pCell != nullptr)
            pCell->ClearPicture();
    // Cleared as well as deleted: the destructor deletes whatever is still held.
    for (CCollectionItem*& pItem : m_pItems) {
        delete pItem;
        pItem = nullptr;
    }
}

BOOL CThumbnailsPage::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                               AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nCode == CN_COMMAND && nID == ID_PREV_THUMBS)
        TurnPage(m_previousLink, -m_nShown - CELL_COUNT, CELL_COUNT);
    else if (nCode == CN_COMMAND && nID == ID_NEXT_THUMBS)
        TurnPage(m_nextLink, 0, -CELL_COUNT);
    return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CThumbnailsPage::TurnPage(CLinkStatic& link, int nFirstChange, int nRemainingChange) {
    BeginWaitCursor();
    ReleaseItems();
    link.SetHover(FALSE);
    m_nFirst += nFirstChange;
    m_nRemaining += nRemainingChange;
    FillPage();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    RestoreWaitCursor();
    EndWaitCursor();
}

HBRUSH CThumbnailsPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_DLG)
        return m_brBack;
    if (nCtlColor == CTLCOLOR_STATIC) {
        for (CLinkStatic* pLink : {&m_previousLink, &m_nextLink})
            if (pWnd == pLink)
                pDC->SetTextColor(pLink->GetHover() ? LINK_HOVER : pLink->GetLinkColor());
        pDC->SetBkMode(TRANSPARENT);
        return m_brBack;
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CThumbnailsPage::OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialog::OnShowWindow(bShow, nStatus);
    if (!bShow)
        ReleaseItems();
}
