// The thumbnails view: eight items at a time in a grid of four columns and two rows, with links
// under the grid to the previous and the next eight. The page holds the records of the items it
// shows and lets them go when it turns the page or is hidden.
#pragma once

#include "branding/LinkStatic.h"
#include "data/CollectionItem.h"
#include "framework/window/Dialog.h"
#include "pages/ThumbnailCell.h"

class CThumbnailsPage : public CDialog {
public:
    static const int CELL_COUNT = 8;

    explicit CThumbnailsPage(CWnd* pParent = nullptr);
    ~CThumbnailsPage() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnInitDialog() override;

    // Loads and shows the page that holds item nItem (the first page for 0).
    void ShowPageOf(int nItem);
    // Deletes the held records (the pointers become null); the cells forget their pictures first.
    void ReleaseItems();

    CLinkStatic& GetPreviousLink() { return m_previousLink; }
    CLinkStatic& GetNextLink() { return m_nextLink; }
    CThumbnailCell* GetCell(int k) const { return m_pCells[k]; }
    int GetShownCount() const { return m_nShown; }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnShowWindow(BOOL bShow, UINT nStatus) override;

private:
    void LoadItemCount();
    // Loads and shows the items from m_nFirst on; afterwards m_nFirst is the index after them.
    void FillPage();
    void CreateLinks();
    void CreateCells();
    // Loads the records of the cells to be shown into m_pItems, null for a damaged one.
    void LoadPage();
    void ShowItemInCell(int k, int nIndex);
    void TurnPage(CLinkStatic& link, int nFirstChange, int nRemainingChange);

    CLinkStatic m_previousLink;
    CLinkStatic m_nextLink;
    CThumbnailCell* m_pCells[CELL_COUNT] = {};
    CFont m_fontLink;
    CBrush m_brBack;
    CCollectionItem* m_pItems[CELL_COUNT] = {};
    // Items from the page's first to the end; before FillPage the page's first item, after it
    // the item after the last shown; items after the page; cells filled.
    int m_nRemaining = 0;
    int m_nFirst = 0;
    int m_nLeftAfter = 0;
    int m_nShown = 0;
};
