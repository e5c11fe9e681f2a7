#include "shell/Navigation.h"

CNavigation::CNavigation(int nItemCount) : m_nItemCount(nItemCount > 0 ? nItemCount : 1) {}

NAV_SHOW CNavigation::Next() {
    if (m_nRow == GetLastRow())
        return Show(VIEW_COMMENTS, ROW_COMMENTS);
    if (m_nRow == ROW_COMMENTS)
        return Show(VIEW_THUMBNAILS, ROW_THUMBNAILS);
    if (m_nRow == ROW_THUMBNAILS)
        return OpenRow(ROW_FIRST_ITEM);
    return OpenRow(m_nRow + 1);
}

NAV_SHOW CNavigation::Previous() {
    if (m_nRow == ROW_COMMENTS)
        return OpenRow(GetLastRow());
    if (m_nRow == ROW_THUMBNAILS)
        return Show(VIEW_COMMENTS, ROW_COMMENTS);
    if (m_nRow == ROW_FIRST_ITEM)
        return Show(VIEW_THUMBNAILS, ROW_THUMBNAILS);
    return OpenRow(m_nRow - 1);
}

NAV_SHOW CNavigation::PickRow(int nRow) {
    if (nRow == ROW_COMMENTS)
        return Show(VIEW_COMMENTS, ROW_COMMENTS);
    // The separator is never a stop: it stands for the thumbnails above it.
    if (nRow == ROW_THUMBNAILS || nRow == ROW_SEPARATOR)
        return Show(VIEW_THUMBNAILS, ROW_THUMBNAILS);
    if (nRow >= ROW_FIRST_ITEM && nRow <= GetLastRow())
        return OpenRow(nRow);
    return Stay();
}

NAV_SHOW CNavigation::ClickCell(int nItem, BOOL bHasPicture, BOOL bDamaged) {
    if (nItem < 0 || nItem >= m_nItemCount)
        return Stay();
    m_nCurrent = nItem;
    // Nothing of a damaged item can be shown, so the preference stays as it was.
    if (!bDamaged)
        m_bPreferDetails = !bHasPicture;
    return ShowItemIn(m_bPreferDetails ? VIEW_DETAILS : VIEW_IMAGE);
}

NAV_SHOW CNavigation::ImageTab() {
    m_bPreferDetails = FALSE;
    return m_nShown == VIEW_IMAGE ? Stay() : ShowItemIn(VIEW_IMAGE);
}

NAV_SHOW CNavigation::DetailsTab() {
    m_bPreferDetails = TRUE;
    return m_nShown == VIEW_DETAILS ? Stay() : ShowItemIn(VIEW_DETAILS);
}

NAV_SHOW CNavigation::ThumbnailsTab() {
    return Show(VIEW_THUMBNAILS, ROW_THUMBNAILS, m_nCurrent - m_nCurrent % PAGE_SIZE);
}

void CNavigation::ShownWithoutPicture() {
    m_nShown = VIEW_DETAILS;
}

void CNavigation::ShownDamaged() {
    m_nShown = VIEW_NONE;
}

NAV_SHOW CNavigation::Show(int nView, int nRow, int nPageFirst) {
    m_nRow = nRow;
    m_nShown = nView;
    return NAV_SHOW{nView, nRow, m_nCurrent, nPageFirst, FALSE};
}

NAV_SHOW CNavigation::OpenRow(int nRow) {
    m_nCurrent = nRow - ROW_FIRST_ITEM;
    return ShowItemIn(m_bPreferDetails ? VIEW_DETAILS : VIEW_IMAGE);
}

NAV_SHOW CNavigation::ShowItemIn(int nView) {
    return Show(nView, ROW_FIRST_ITEM + m_nCurrent);
}

NAV_SHOW CNavigation::Stay() {
    return NAV_SHOW{VIEW_NONE, 0, 0, 0, TRUE};
}
