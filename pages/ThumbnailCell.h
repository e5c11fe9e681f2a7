// One item of the collection in a rectangle of any size: its decoded picture shrunk to fit and
// centred, or, for an item without a picture, image 0 of its image list with three caption
// lines. A clickable cell tells the main window (its grandparent) when it is clicked.
#pragma once

#include "data/CollectionFile.h"
#include "data/ItemPicture.h"
#include "framework/gdi/ImageList.h"
#include "framework/window/Dialog.h"

// The id with which a cell signs its click notification.
#define IDC_THUMBNAIL_CELL 158

class CThumbnailCell : public CDialog {
public:
    CThumbnailCell();
    ~CThumbnailCell() override;

    BOOL OnInitDialog() override;

    // What stands for an item whose record cannot be read, wherever its name would.
    static const char* const DAMAGED_MARK;

    // Shows the item of that record: its picture (borrowed, see SetPicture), or image 0 of its
    // image list with its two lines and its name.
    void ShowItem(CCollectionItem* pItem, int nItemIndex);
    // Shows item nItemIndex, whose record cannot be read: a placeholder, its name when that can
    // still be read, and one line saying what is wrong. Clicks still report the item.
    void ShowDamagedItem(CCollectionFile* pCollection, int nItemIndex);
    // Replaces the background brush; the cell is not repainted.
    void SetBackColor(COLORREF crBack);
    // Borrows the picture: its record must outlive the cell's use of it (see ClearPicture).
    // A null picture only changes the item index.
    void SetPicture(CItemPicture* pPicture, int nItemIndex);
    void SetIconAndCaptions(CImageList* pImageList, int nItemIndex, const CString& strCaption1,
                            const CString& strCaption2, const CString& strCaption3);
    BOOL IsDamaged() const { return m_bDamaged; }
    const CItemPicture* GetPicture() const { return m_pPicture; }
    // Forgets the borrowed picture. Owners call it before they release the record that holds
    // it, so that no repaint in between reaches freed pixels; the cell then paints its
    // background only until it is given another item.
    void ClearPicture();

    // Where a bw × bh picture lands in a client of nWidth × nHeight: 1:1 and centred when it
    // fits, else shrunk to fit with its aspect kept. Sets *pbShrunk accordingly.
    static CRect PlacePicture(int bw, int bh, int nWidth, int nHeight, BOOL* pbShrunk);

    BOOL m_bClickable = FALSE;
    BOOL m_bHasPicture = FALSE;
    int m_nItemIndex = 0;

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnPaint() override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;

private:
    void PaintPicture(CDC& dc, const CRect& rcClient);
    void PaintIconAndCaptions(CDC& dc, const CRect& rcClient);
    void PaintDamaged(CDC& dc, const CRect& rcClient);

    CItemPicture* m_pPicture = nullptr;
    BOOL m_bDamaged = FALSE;
    CString m_strCaption1;
    CString m_strCaption2;
    CString m_strCaption3;
    CImageList m_imageList;
    CBrush m_brBack;
    CFont m_fontCaption;
};
