// Where the viewer is in its collection, without any window: the rows of the navigation list,
// the current item, the view that an item opens in and the view last shown. Every input (NEXT,
// PREVIOUS, a picked row, a clicked thumbnail, a tab) answers with what the window is to show;
// the window renders it and reports back when an item could not be shown as asked.
#pragma once

#include "framework/core/WinTypes.h"
#include "shell/CommandIds.h"

// What the window is to show: a view, the list row to select, the item of an item view, and
// the first item of the thumbnails page. bStay: the input changes nothing on screen.
struct NAV_SHOW {
    int nView;
    int nRow;
    int nItem;
    int nPageFirst;
    BOOL bStay;
};

class CNavigation {
public:
    // The rows of the navigation list; row ROW_FIRST_ITEM + i holds item i.
    enum { ROW_COMMENTS = 0, ROW_THUMBNAILS = 1, ROW_SEPARATOR = 2, ROW_FIRST_ITEM = 3 };
    static const int PAGE_SIZE = 8;

    explicit CNavigation(int nItemCount = 1);

    // NEXT and PREVIOUS walk the ring Comments, Thumbnails, item 0 ... last item, Comments.
    NAV_SHOW Next();
    NAV_SHOW Previous();
    NAV_SHOW PickRow(int nRow);
    // A thumbnail: an item with a picture opens in the image view, one without in the details
    // view, and the preference follows; a damaged one opens in the preferred view.
    NAV_SHOW ClickCell(int nItem, BOOL bHasPicture, BOOL bDamaged);
    NAV_SHOW ImageTab();
    NAV_SHOW DetailsTab();
    // The thumbnails view at the page that holds the current item.
    NAV_SHOW ThumbnailsTab();

    // What the window reports: the item had no picture, so its details show instead (the
    // preference stays); or its record could not be read, so neither item view shows.
    void ShownWithoutPicture();
    void ShownDamaged();

    int GetItemCount() const { return m_nItemCount; }
    int GetLastRow() const { return ROW_FIRST_ITEM + m_nItemCount - 1; }
    int GetRow() const { return m_nRow; }
    int GetCurrent() const { return m_nCurrent; }
    BOOL PrefersDetails() const { return m_bPreferDetails; }
    // The view on screen: a VIEW_ code, or VIEW_NONE for a damaged item.
    int GetShownView() const { return m_nShown; }

    static const int VIEW_NONE = 99;

private:
    NAV_SHOW Show(int nView, int nRow, int nPageFirst = 0);
    NAV_SHOW OpenRow(int nRow);
    NAV_SHOW ShowItemIn(int nView);
    static NAV_SHOW Stay();

    int m_nItemCount;
    int m_nRow = ROW_COMMENTS;
    int m_nCurrent = 0;
    BOOL m_bPreferDetails = FALSE;
    int m_nShown = VIEW_COMMENTS;
};
