#include "pages/ThumbnailCell.h"

#include <climits>
#include <cmath>

#include "framework/core/Exception.h"
#include "framework/gdi/DC.h"
#include "framework/system/Resources.h"
#include "framework/window/Cursor.h"
#include "framework/window/PaintDC.h"
#include "res/ResourceIds.h"

namespace {

// Captions stand on fixed rows whatever the cell's height.
const int CAPTION_ROWS[3] = {100, 120, 140};
// Image 0's corner sits this far left of and above the cell's centre.
const int ICON_OFFSET_X = 16;
const int ICON_OFFSET_Y = 36;
const int CAPTION_FONT_HEIGHT = 11;
// The placeholder of a damaged record: a crossed-out frame where image 0 would stand.
const int PLACEHOLDER_SIDE = 32;
const COLORREF PLACEHOLDER_COLOUR = RGB(160, 160, 160);
const char* const DAMAGED_NOTE = "This item's record in the collection is damaged.";

// Truncation toward zero. A degenerate client (zero or negative) can divide by zero; such a
// result places nothing rather than a huge rectangle.
int TruncToInt(double value) {
    if (!std::isfinite(value) || value >= (double)INT_MAX || value <= (double)INT_MIN)
        return 0;
    return (int)value;
}

HCURSOR HandCursor() {
    return ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR));
}

} // namespace

const char* const CThumbnailCell::DAMAGED_MARK = "(damaged)";

CThumbnailCell::CThumbnailCell() : CDialog(IDD_THUMBNAIL_CELL) {
    m_brBack.CreateSolidBrush(RGB(0, 0, 0));
}

CThumbnailCell::~CThumbnailCell() {
    m_fontCaption.DeleteObject();
    m_brBack.DeleteObject();
    m_imageList.DeleteImageList();
}

BOOL CThumbnailCell::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_fontCaption.GetSafeHandle() == nullptr) {
        LOGFONT lf = {};
        lf.lfHeight = CAPTION_FONT_HEIGHT;
        m_fontCaption.CreateFontIndirect(&lf);
    }
    return TRUE;
}

void CThumbnailCell::SetBackColor(COLORREF crBack) {
    m_brBack.DeleteObject();
    m_brBack.Attach(::CreateSolidBrush(crBack));
}

void CThumbnailCell::SetPicture(CItemPicture* pPicture, int nItemIndex) {
    m_nItemIndex = nItemIndex;
    if (pPicture == nullptr)
        return;
    m_pPicture = pPicture;
    m_bHasPicture = TRUE;
    m_bDamaged = FALSE;
}

void CThumbnailCell::ShowItem(CCollectionItem* pItem, int nItemIndex) {
    if (CItemPicture* pPicture = pItem->GetPicture()) {
        SetPicture(pPicture, nItemIndex);
        return;
    }
    CImageList imageList;
    pItem->CopyImageList(&imageList);
    SetIconAndCaptions(&imageList, nItemIndex, pItem->m_strLine1, pItem->m_strLine2,
                       pItem->m_strName);
}

void CThumbnailCell::ShowDamagedItem(CCollectionFile* pCollection, int nItemIndex) {
    CString strName;
    try {
        if (pCollection != nullptr)
            pCollection->LoadItemName(nItemIndex, strName);
    } catch (const CException&) {
        strName.Empty();
    }
    SetIconAndCaptions(nullptr, nItemIndex, strName, DAMAGED_NOTE, CString());
    m_bDamaged = TRUE;
}

void CThumbnailCell::SetIconAndCaptions(CImageList* pImageList, int nItemIndex,
                                        const CString& strCaption1, const CString& strCaption2,
                                        const CString& strCaption3) {
    m_nItemIndex = nItemIndex;
    m_imageList.DeleteImageList();
    if (pImageList != nullptr)
        m_imageList.Create(pImageList);
    m_strCaption1 = strCaption1;
    m_strCaption2 = strCaption2;
    m_strCaption3 = strCaption3;
    m_bHasPicture = FALSE;
    m_bDamaged = FALSE;
    // Icon mode never draws it, and nothing may reach a picture whose record may go.
    m_pPicture = nullptr;
}

void CThumbnailCell::ClearPicture() {
    m_pPicture = nullptr;
}

CRect CThumbnailCell::PlacePicture(int bw, int bh, int nWidth, int nHeight, BOOL* pbShrunk) {
    const int W = nWidth, H = nHeight;
    if (bw <= W && bh <= H) {
        *pbShrunk = FALSE;
        return CRect(CPoint((W - bw) / 2, (H - bh) / 2), CSize(bw, bh));
    }
    *pbShrunk = TRUE;
    int x, y, w, h;
    if (bw >= bh) {
        const int W1 = W <= 0 ? 1 : W;
        const double r = (double)bw / W1;
        h = TruncToInt(bh / r);
        if (h <= H) {
            x = 0, y = (H - h) / 2, w = W1;
        } else {
            h = H;
            w = TruncToInt(bw / ((double)bh / H));
            x = (W - w) / 2, y = 0;
        }
    } else {
        const int H1 = H <= 0 ? 1 : H;
        const double r = (double)bh / H1;
        w = TruncToInt(bw / r);
        if (w <= W) {
            x = (W - w) / 2, y = 0, h = H1;
        } else {
            w = W;
            h = TruncToInt(bh / ((double)bw / W));
            x = 0, y = (H - h) / 2;
        }
    }
    return CRect(CPoint(x, y), CSize(w, h));
}

HBRUSH CThumbnailCell::OnCtlColor(CDC*, CWnd*, UINT) {
    return (HBRUSH)m_brBack.GetSafeHandle();
}

void CThumbnailCell::OnPaint() {
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(rcClient);
    if (m_bHasPicture)
        PaintPicture(dc, rcClient);
    else if (m_bDamaged)
        PaintDamaged(dc, rcClient);
    else
        PaintIconAndCaptions(dc, rcClient);
}

// Scales straight from the decoded bitmap to the screen at every paint: no scaled copy is kept.
// The place comes from the picture's own size, so that a bitmap decoded reduced for the cell
// lands on the same pixels as the full one; the whole bitmap is stretched into it.
void CThumbnailCell::PaintPicture(CDC& dc, const CRect& rcClient) {
    BITMAP bm = {};
    if (m_pPicture == nullptr || m_pPicture->GetSafeHandle() == nullptr ||
        m_pPicture->GetBitmap(&bm) == 0)
        return;
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(&dc))
        return;
    CBitmap* pOldBitmap = dcMem.SelectObject(m_pPicture);
    CSize sizeFull = m_pPicture->GetFullSize();
    if (sizeFull.cx <= 0 || sizeFull.cy <= 0) // a bitmap made in memory, not decoded
        sizeFull = CSize(bm.bmWidth, bm.bmHeight);
    BOOL bShrunk = FALSE;
    const CRect rcDest =
        PlacePicture(sizeFull.cx, sizeFull.cy, rcClient.Width(), rcClient.Height(), &bShrunk);
    if (!bShrunk && rcDest.Size() == CSize(bm.bmWidth, bm.bmHeight)) {
        dc.BitBlt(rcDest.left, rcDest.top, bm.bmWidth, bm.bmHeight, &dcMem, 0, 0, SRCCOPY);
    } else {
        dc.SetStretchBltMode(HALFTONE);
        dc.StretchBlt(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), &dcMem, 0, 0,
                      bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    dcMem.SelectObject(pOldBitmap);
    dcMem.DeleteDC();
}

void CThumbnailCell::PaintIconAndCaptions(CDC& dc, const CRect& rcClient) {
    const int W = rcClient.Width(), H = rcClient.Height();
    CFont* pOldFont = dc.SelectObject(&m_fontCaption);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(RGB(0, 0, 0));
    ImageList_Draw(m_imageList, 0, dc, W / 2 - ICON_OFFSET_X, H / 2 - ICON_OFFSET_Y,
                   ILD_TRANSPARENT);
    const CString* captions[3] = {&m_strCaption1, &m_strCaption2, &m_strCaption3};
    for (int i = 0; i < 3; ++i) {
        // Each line centred on its own, neither shortened nor wrapped: the window clips it.
        const int cx = dc.GetTextExtent(*captions[i]).cx;
        dc.TextOut(W / 2 - cx / 2, CAPTION_ROWS[i], *captions[i]);
    }
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
}

// The placeholder in the middle, the name and the note under it, each line centred.
void CThumbnailCell::PaintDamaged(CDC& dc, const CRect& rcClient) {
    const int W = rcClient.Width(), H = rcClient.Height();
    const CRect rcBox(CPoint(W / 2 - PLACEHOLDER_SIDE / 2, H / 2 - PLACEHOLDER_SIDE),
                      CSize(PLACEHOLDER_SIDE, PLACEHOLDER_SIDE));
    CPen pen(PS_SOLID, 0, PLACEHOLDER_COLOUR);
    CPen* pOldPen = dc.SelectObject(&pen);
    CBrush brush(PLACEHOLDER_COLOUR);
    dc.FrameRect(rcBox, &brush);
    dc.MoveTo(rcBox.left, rcBox.top);
    dc.LineTo(rcBox.right, rcBox.bottom);
    dc.MoveTo(rcBox.right - 1, rcBox.top);
    dc.LineTo(rcBox.left - 1, rcBox.bottom);
    dc.SelectObject(pOldPen);
    CFont* pOldFont = dc.SelectObject(&m_fontCaption);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    // A narrow cell wraps the note; the wide image view keeps it on one line.
    CRect rcText(0, rcBox.bottom + 8, W, H);
    dc.DrawText(m_strCaption1, rcText, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    rcText.top += 20;
    dc.DrawText(m_strCaption2, rcText, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
}

void CThumbnailCell::OnLButtonDown(UINT nFlags, CPoint point) {
    // Only a plain left click counts: no other button, no Shift or Ctrl.
    if (nFlags == MK_LBUTTON && m_bClickable) {
        CWnd* pParent = GetParent();
        CWnd* pMainWnd = pParent != nullptr ? pParent->GetParent() : nullptr;
        if (pMainWnd != nullptr) {
            NMHDR nmhdr = {m_hWnd, IDC_THUMBNAIL_CELL, NM_CLICK};
            pMainWnd->SendMessage(WM_NOTIFY, 0, (LPARAM)&nmhdr);
        }
    }
    CDialog::OnLButtonDown(nFlags, point);
}

// The class cursor would flash the arrow before every move's hand; a clickable cell answers the
// cursor request with the hand itself.
BOOL CThumbnailCell::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (!m_bClickable)
        return CDialog::OnSetCursor(pWnd, nHitTest, message);
    ::SetCursor(HandCursor());
    return TRUE;
}

void CThumbnailCell::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bClickable)
        ::SetCursor(HandCursor());
    CDialog::OnMouseMove(nFlags, point);
}
