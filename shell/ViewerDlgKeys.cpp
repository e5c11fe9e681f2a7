// Keys and the wheel: the key table's commands, sent as the clicks of the buttons and links they
// stand for.
#include "shell/KeyMap.h"
#include "shell/ViewerDlg.h"

namespace {
const int FRAME_WIDTH = 800;
const int FRAME_HEIGHT = 600;
} // namespace

BOOL CViewerDlg::PreTranslateMessage(MSG* pMsg) {
    const UINT message = pMsg->message;
    const BOOL bClick =
        message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    const BOOL bKey = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    // Any click or key but the slideshow's own stops it, and then does what it always does.
    if (m_bSlideshow && (bClick || (bKey && !IsSlideshowKey((int)pMsg->wParam))))
        StopSlideshow();
    // The list of keys takes the next key or click only to close.
    if ((bClick || bKey) && m_keysOverlay.IsOpen()) {
        m_keysOverlay.Close();
        return TRUE;
    }
    if (message == WM_KEYDOWN && IsWindowEnabled() && !m_itemList.GetDroppedState() &&
        OnKey((int)pMsg->wParam))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

// FALSE leaves the key to the focused window and the dialog (Enter, Escape).
BOOL CViewerDlg::OnKey(int vk) {
    const KEY_COMMAND nCommand = KeyCommandOf(vk);
    // The focused list keeps its own walk through the rows.
    if (nCommand == KEY_NONE || (CWnd::GetFocus() == &m_itemList && IsListWalkingKey(vk)))
        return FALSE;
    const BOOL bThumbnails = m_pCurrentView == &m_thumbnailsPage;
    switch (nCommand) {
    case KEY_NEXT:
        ClickButton(m_btnNext);
        break;
    case KEY_PREVIOUS:
        ClickButton(m_btnPrevious);
        break;
    case KEY_PAGE_NEXT:
    case KEY_PAGE_PREVIOUS:
        if (bThumbnails)
            TurnThumbnailsPage(nCommand == KEY_PAGE_NEXT);
        else
            ClickButton(nCommand == KEY_PAGE_NEXT ? m_btnNext : m_btnPrevious);
        break;
    case KEY_FIRST_ITEM:
        Navigate(m_nav.PickRow(CNavigation::ROW_FIRST_ITEM));
        break;
    case KEY_LAST_ITEM:
        Navigate(m_nav.PickRow(m_nav.GetLastRow()));
        break;
    case KEY_IMAGE:
        ClickButton(m_btnImage);
        break;
    case KEY_DETAILS:
        ClickButton(m_btnDetails);
        break;
    case KEY_THUMBNAILS:
        ClickButton(m_btnThumbnails);
        break;
    case KEY_COMMENTS:
        if (m_pCurrentView != &m_commentsPage)
            Navigate(m_nav.PickRow(CNavigation::ROW_COMMENTS));
        break;
    case KEY_QUIT:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        break;
    case KEY_SLIDESHOW:
        if (m_bSlideshow)
            StopSlideshow();
        else
            StartSlideshow();
        break;
    case KEY_HELP:
        m_keysOverlay.Open(this, &m_listFont,
                           CRect(m_nLeft, m_nTop, m_nLeft + FRAME_WIDTH, m_nTop + FRAME_HEIGHT));
        break;
    case KEY_LONGER:
    case KEY_SHORTER:
        ChangeSlideshowDelay(nCommand == KEY_LONGER ? 1 : -1);
        break;
    default:
        break;
    }
    return TRUE;
}

BOOL CViewerDlg::OnMouseWheel(UINT, short zDelta, CPoint) {
    if (m_pCurrentView == &m_imageCell && IsWindowEnabled() && zDelta != 0)
        ClickButton(zDelta < 0 ? m_btnNext : m_btnPrevious);
    return TRUE;
}

void CViewerDlg::ClickButton(CWnd& button) {
    if (!button.IsWindowVisible() || !button.IsWindowEnabled())
        return;
    SendMessage(WM_COMMAND, MAKEWPARAM(button.GetDlgCtrlID(), BN_CLICKED),
                (LPARAM)button.GetSafeHwnd());
}

// The page's own link click, so the page turns only where its link shows.
void CViewerDlg::TurnThumbnailsPage(BOOL bNext) {
    CWnd& link =
        bNext ? (CWnd&)m_thumbnailsPage.GetNextLink() : (CWnd&)m_thumbnailsPage.GetPreviousLink();
    if (!link.IsWindowVisible())
        return;
    m_thumbnailsPage.SendMessage(WM_COMMAND,
                                 MAKEWPARAM(bNext ? ID_NEXT_THUMBS : ID_PREV_THUMBS, STN_CLICKED),
                                 (LPARAM)link.GetSafeHwnd());
}
