// The one top-level window: a black screen with the collection in a centred 800 × 600 frame, a
// header, the buttons and the navigation list below, and four views between them (Comments,
// Thumbnails, one item's picture, one item's details). It owns the collection reader, every
// page and control, and the item record that the current item view shows.
#pragma once

#include "branding/AboutBox.h"
#include "branding/LinkStatic.h"
#include "controls/XScrollPanel.h"
#include "controls/XWebButton.h"
#include "controls/XWrappingStatic.h"
#include "data/CollectionFile.h"
#include "data/DecodeAhead.h"
#include "framework/core/ObArray.h"
#include "framework/window/Dialog.h"
#include "framework/window/Static.h"
#include "pages/CollectionOwner.h"
#include "pages/CommentsPage.h"
#include "pages/ListCombo.h"
#include "pages/ThumbnailCell.h"
#include "pages/ThumbnailsPage.h"
#include "shell/CommandIds.h"
#include "shell/KeysOverlay.h"
#include "shell/Navigation.h"

class CViewerDlg : public CDialog, public CCollectionOwner, public CAboutBoxOwner {
public:
    explicit CViewerDlg(CWnd* pParent = nullptr);
    ~CViewerDlg() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    // The keys of the key table, unless the list is dropped or walks with that key itself.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // CCollectionOwner, CAboutBoxOwner
    CCollectionFile& GetCollection() override { return m_collection; }
    CString GetCollectionHeader() const override { return m_collection.GetHeader(); }

    // Why the window ended at once: its file holds no collection, or a damaged one.
    enum OPEN_RESULT { OPEN_DONE, OPEN_NO_COLLECTION, OPEN_DAMAGED };
    OPEN_RESULT GetOpenResult() const { return m_nOpenResult; }
    const CString& GetCollectionPath() const { return m_strCollectionPath; }

    // The row text of an item in the navigation list: "2 of 12 * Teapot".
    static CString FormatListRow(int nIndex, int nCount, const CString& strName);
    // Where navigation stands; tests read the windows themselves through CWindowTree.
    const CNavigation& GetNavigation() const { return m_nav; }
    BOOL IsSlideshowRunning() const { return m_bSlideshow; }
    // Seconds each item shows in the slideshow.
    int GetSlideshowDelay() const;
    // Whether an item record is held (the current item view shows it).
    BOOL HoldsItem() const { return m_pItem != nullptr; }
    // The item decoded ahead of being shown, or −1; the wait lets its decode end first.
    int GetAheadItem() const { return m_ahead.GetIndex(); }
    int WaitForAheadItem() {
        m_ahead.Wait();
        return m_ahead.GetIndex();
    }
    // The darkening under the About box, a checkerboard aligned to the window.
    void DimWindow(CDC* pDC, const CRect& rect);

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    // In the image view the wheel steps like PREVIOUS (up) and NEXT (down).
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnPaint() override;

private:
    XWrappingStatic m_detailsFiller;
    CString m_strHeaderTitle;
    CStatic m_detailsFrame;
    CListCombo m_itemList;
    CThumbnailCell m_imageCell;
    CCommentsPage m_commentsPage;
    CThumbnailsPage m_thumbnailsPage;
    CFont m_listFont;
    CFont m_titleFont;
    CFont m_minimizeFont;
    CBrush m_backBrush;
    XScrollPanel m_detailsPanel;
    CThumbnailCell* m_pDetailsCell = nullptr;
    int m_nValueWidthExtra = 0;
    CObArray m_detailRows;
    CAboutBox m_aboutBox;
    CCollectionItem* m_pItem = nullptr;
    CCollectionFile m_collection;
    CNavigation m_nav;
    XWebButton m_btnNext;
    XWebButton m_btnPrevious;
    XWebButton m_btnExit;
    XWebButton m_btnAbout;
    XWebButton m_btnThumbnails;
    XWebButton m_btnImage;
    XWebButton m_btnDetails;
    XWebButton m_btnMinimize;
    CBitmap m_makerLogoBitmap;
    CLinkStatic m_makerLink;
    CLinkStatic m_partnerLink;
    CBitmap m_partnerLogoBitmap;
    CWnd* m_pCurrentView = nullptr;
    int m_nTop = 0;
    int m_nLeft = 0;
    int m_nRight = 0;
    int m_nScreenWidth = 0;
    int m_nScreenHeight = 0;
    OPEN_RESULT m_nOpenResult = OPEN_DONE;
    CString m_strCollectionPath;

    // Initialisation steps, in their order.
    void ComputeFrame();
    void SetupWindowCaption();
    void CreateDetailsCell();
    void CreateDetailsPanel();
    void CreatePages();
    void CreateItemList();
    void CreateButtons();
    void CreateTabs();
    void CreateMakerLink();
    void CreateTitleFont();
    CRect HeaderTitleRect(CDC& dc);
    void DrawHeaderTitle(CDC& dc);
    void PlaceButton(XWebButton& button, UINT nID, UINT nCaption, const CRect& rect,
                     BOOL bVisible = TRUE);
    void CreateLogoLink(CLinkStatic& link, CBitmap& bitmap, UINT nBitmapID, CPoint topLeft,
                        UINT nID);

    // Navigation: renders what the model answered, the view, its item and the list row.
    void Navigate(const NAV_SHOW& show);
    void ShowView(const NAV_SHOW& show);
    void HideDetailsParts();
    void HideTabs();
    void ShowTabs();
    void ShowAboutBox();
    void ReleaseItem();
    void OnThumbnailClick(CThumbnailCell* pCell);
    // Keys: each does what its button or link does, and nothing where that one is not shown.
    BOOL OnKey(int vk);
    void ClickButton(CWnd& button);
    void TurnThumbnailsPage(BOOL bNext);

    // The slideshow: the items one after another, the first again after the last.
    void CreateDelayText();
    void StartSlideshow();
    void StopSlideshow();
    void SlideshowStep();
    void ChangeSlideshowDelay(int nSteps);
    void ShowDelayText();
    BOOL m_bSlideshow = FALSE;
    int m_nDelayStep = 1;
    // The delay, shown for a moment over the top of the frame.
    CStatic m_delayText;
    CKeysOverlay m_keysOverlay;
    // The views, each in its own function.
    void HideCurrentView();
    void ShowComments();
    void ShowThumbnails(int nPageFirst);
    void ShowItem(int nView, int nIndex);
    void ShowImage(int nIndex);
    void ShowDetails(int nIndex);
    // Loads item nIndex into m_pItem for view nView (its picture decoded for that view's
    // window), releasing the one held before. FALSE when its record is damaged.
    BOOL LoadCurrentItem(int nIndex, int nView);
    // The box a picture is decoded for in view nView: the client size of its window.
    CSize LoadBoxFor(int nView);
    static BOOL IsItemView(int nView) { return nView == VIEW_IMAGE || nView == VIEW_DETAILS; }
    // Idle after a switch: reads and decodes ahead the item that NEXT (or PREVIOUS, after
    // travelling back) would show.
    void DecodeAhead();
    CDecodeAhead m_ahead;
    BOOL m_bTravelBack = FALSE;
    enum { TIMER_SLIDESHOW = 1, TIMER_DELAY_TEXT = 2, TIMER_DECODE_AHEAD = 3 };
    void ShowDamagedItem(int nIndex);

    // Details: the held item's details as rows; its picture in the details cell.
    void UpdateDetailsPanel();
    void UpdateDetailsCell(int nIndex);
    void BuildDetailRows();
    void DeleteDetailRows(int nCount);
    int LayoutDetailRows();
};
