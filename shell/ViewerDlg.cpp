#include "shell/ViewerDlg.h"

#include <cstring>

#include "branding/PartnerLayout.h"
#include "framework/core/Exception.h"
#include "framework/gdi/DC.h"
#include "framework/system/ModulePath.h"
#include "framework/system/Resources.h"
#include "framework/window/Cursor.h"
#include "framework/window/PaintDC.h"
#include "res/ResourceIds.h"

namespace {

const COLORREF BUTTON_FACE = 0x313131;
const COLORREF BUTTON_TEXT = 0xFFFFFF;
const COLORREF BUTTON_FRAME = 0x434343;
const COLORREF LINE_COLOUR = RGB(51, 51, 51);
const DWORD ITEM_LIST_STYLE =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;

} // namespace

CViewerDlg::CViewerDlg(CWnd* pParent)
    : CDialog(IDD_VIEWER, pParent), m_commentsPage(nullptr), m_thumbnailsPage(nullptr) {
    m_backBrush.CreateSolidBrush(RGB(0, 0, 0));
}

CViewerDlg::~CViewerDlg() {
    m_ahead.Drop();
    if (m_bSlideshow)
        StopSlideshow();
    m_listFont.DeleteObject();
    m_imageCell.ClearPicture();
    delete m_pDetailsCell;
    m_pDetailsCell = nullptr;
    DeleteDetailRows(m_detailRows.GetSize());
    m_detailRows.RemoveAll();
    delete m_pItem;
    m_pItem = nullptr;
    CPartnerLayout::Destroy();
}

BOOL CViewerDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_strCollectionPath = AfxGetModulePath();
    BeginWaitCursor();
    try {
        m_nOpenResult = m_collection.Open(m_strCollectionPath) ? OPEN_DONE : OPEN_NO_COLLECTION;
    } catch (const CException&) {
        // The file ends like a collection, but its index cannot be read.
        m_nOpenResult = OPEN_DAMAGED;
    }
    if (m_nOpenResult != OPEN_DONE) {
        EndDialog(-1);
        EndWaitCursor();
        return TRUE;
    }
    CPartnerLayout::Create();
    ComputeFrame();
    SetupWindowCaption();
    CreateDetailsCell();
    CreateDetailsPanel();
    CreatePages();
    CreateItemList();
    CreateButtons();
    CreateTabs();
    CreateMakerLink();
    CreateTitleFont();
    m_strHeaderTitle = m_commentsPage.m_strTitle;
    m_commentsPage.ShowWindow(SW_SHOW);
    m_pCurrentView = &m_commentsPage;
    EndWaitCursor();
    return TRUE;
}

void CViewerDlg::ComputeFrame() {
    m_nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_nLeft = m_nScreenWidth / 2 - 400;
    m_nRight = m_nScreenWidth / 2 + 400;
    m_nTop = m_nScreenHeight / 2 - 300;
    MoveWindow(0, 0, m_nScreenWidth, m_nScreenHeight);
}

void CViewerDlg::SetupWindowCaption() {
    HICON hIcon = ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_APP_ICON));
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)hIcon);
    ModifyStyle(0, WS_SYSMENU);
    CString strTitle;
    strTitle.LoadString(IDS_APP_TITLE);
    SetWindowText(strTitle);
}

void CViewerDlg::CreatePages() {
    const int L = m_nLeft, T = m_nTop;
    m_commentsPage.Create(IDD_COMMENTS_PAGE, this);
    m_thumbnailsPage.Create(IDD_THUMBNAILS_PAGE, this);
    m_imageCell.Create(IDD_THUMBNAIL_CELL, this);
    for (CWnd* pView : {(CWnd*)&m_commentsPage, (CWnd*)&m_thumbnailsPage, (CWnd*)&m_imageCell}) {
        pView->MoveWindow(L, T + 68, 800, 475);
        pView->ShowWindow(SW_HIDE);
    }
    m_aboutBox.Create(IDD_ABOUT_BOX, this);
    m_aboutBox.CenterWindow();
    m_aboutBox.ShowWindow(SW_HIDE);
}

CString CViewerDlg::FormatListRow(int nIndex, int nCount, const CString& strName) {
    CString strRow;
    strRow.Format("%d of %d * %s", nIndex + 1, nCount, strName.GetString());
    return strRow;
}

void CViewerDlg::CreateItemList() {
    const int L = m_nLeft, T = m_nTop;
    m_itemList.Create(ITEM_LIST_STYLE, CRect(L + 215, T + 560, L + 450, T + 710), this,
                      ID_ITEM_LIST);
    CString strRow;
    strRow.LoadString(IDS_COMMENTS);
    m_itemList.AddString(strRow);
    strRow.LoadString(IDS_THUMBNAILS);
    m_itemList.AddString(strRow);
    m_itemList.AddString("-");
    const int nCount = m_collection.GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        // The name alone: no picture is decoded to fill the list.
        CString strName;
        try {
            m_collection.LoadItemName(i, strName);
        } catch (const CException&) {
            strName = CThumbnailCell::DAMAGED_MARK;
        }
        const int nRow = m_itemList.AddString(FormatListRow(i, nCount, strName));
        m_itemList.SetItemData(nRow, (DWORD_PTR)i);
    }
    m_nav = CNavigation(nCount);
    m_itemList.SetCurSel(CNavigation::ROW_COMMENTS);
    LOGFONT lf = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lf, 0);
    lf.lfHeight = 13;
    m_listFont.CreateFontIndirect(&lf);
    m_itemList.SendMessage(WM_SETFONT, (WPARAM)m_listFont.GetSafeHandle(), TRUE);
}

void CViewerDlg::PlaceButton(XWebButton& button, UINT nID, UINT nCaption, const CRect& rect,
                             BOOL bVisible) {
    button.Create(this, nID, bVisible ? WS_CHILD | WS_VISIBLE : WS_CHILD, CRect(0, 0, 0, 0));
    CString strCaption = "-";
    if (nCaption != 0)
        strCaption.LoadString(nCaption);
    button.SetWindowText(strCaption);
    button.SetBackColor(BUTTON_FACE);
    button.SetTextColor(BUTTON_TEXT);
    button.SetFrameColor(BUTTON_FRAME);
    button.MoveWindow(rect.left, rect.top, rect.Width(), rect.Height());
}

void CViewerDlg::CreateButtons() {
    const int L = m_nLeft, T = m_nTop, R = m_nRight;
    PlaceButton(m_btnPrevious, ID_PREVIOUS, IDS_PREVIOUS,
                CRect(CPoint(L + 30, T + 566), CSize(70, 20)));
    PlaceButton(m_btnNext, ID_NEXT, IDS_NEXT, CRect(CPoint(L + 113, T + 566), CSize(70, 20)));
    PlaceButton(m_btnExit, ID_EXIT, IDS_EXIT, CRect(CPoint(R - 68, T + 566), CSize(50, 20)));
    PlaceButton(m_btnAbout, ID_ABOUT, IDS_ABOUT, CRect(CPoint(R - 120, T + 566), CSize(50, 20)));
    PlaceButton(m_btnMinimize, ID_MINIMIZE, 0,
                CRect(CPoint(m_nScreenWidth - 50, 8), CSize(22, 12)));
    LOGFONT lf = {};
    lf.lfHeight = 20;
    m_minimizeFont.CreateFontIndirect(&lf);
    m_btnMinimize.SendMessage(WM_SETFONT, (WPARAM)m_minimizeFont.GetSafeHandle(), TRUE);
}

void CViewerDlg::CreateTabs() {
    const int L = m_nLeft, T = m_nTop;
    PlaceButton(m_btnImage, ID_SHOW_IMAGE, IDS_IMAGE,
                CRect(CPoint(L + 468, T + 566), CSize(55, 20)), FALSE);
    PlaceButton(m_btnDetails, ID_SHOW_DETAILS, IDS_DETAILS,
                CRect(CPoint(L + 524, T + 566), CSize(60, 20)), FALSE);
    PlaceButton(m_btnThumbnails, ID_SHOW_THUMBNAILS, IDS_THUMBNAILS_TAB,
                CRect(CPoint(L + 592, T + 566), CSize(80, 20)), FALSE);
}

void CViewerDlg::CreateLogoLink(CLinkStatic& link, CBitmap& bitmap, UINT nBitmapID, CPoint topLeft,
                                UINT nID) {
    bitmap.LoadBitmap(nBitmapID);
    link.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BITMAP,
                CRect(topLeft.x, topLeft.y, topLeft.x, topLeft.y), this, nID);
    link.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap.GetSafeHandle());
}

void CViewerDlg::CreateMakerLink() {
    CreateLogoLink(m_makerLink, m_makerLogoBitmap, IDB_MAKER_LOGO,
                   CPoint(m_nLeft + 20, m_nTop + 25), ID_MAKER_LINK);
}

void CViewerDlg::CreateTitleFont() {
    LOGFONT lf = {};
    lf.lfHeight = 16;
    lf.lfWeight = FW_BOLD;
    CString strFace;
    strFace.LoadString(IDS_BOLD_FONT_FACE);
    strncpy(lf.lfFaceName, strFace, LF_FACESIZE - 1);
    m_titleFont.CreateFontIndirect(&lf);
}

void CViewerDlg::OnPaint() {
    CPaintDC dc(this);
    // The title is drawn transparently: it must land on cleared pixels, or its anti-aliased
    // edges add up with every repaint. The paint context keeps it inside the update area.
    dc.FillSolidRect(HeaderTitleRect(dc), RGB(0, 0, 0));
    CPen pen(PS_SOLID, 0, LINE_COLOUR);
    CPen* pOldPen = dc.SelectObject(&pen);
    dc.MoveTo(m_nLeft, m_nTop + 550);
    dc.LineTo(m_nRight, m_nTop + 550);
    dc.MoveTo(m_nLeft, m_nTop + 50);
    dc.LineTo(m_nRight, m_nTop + 50);
    dc.SelectObject(pOldPen);
    DrawHeaderTitle(dc);
    pen.DeleteObject();
}

CRect CViewerDlg::HeaderTitleRect(CDC& dc) {
    CFont* pOldFont = dc.SelectObject(&m_titleFont);
    const CSize size = dc.GetTextExtent(m_strHeaderTitle);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    return CRect(CPoint(m_nRight - size.cx - 20, m_nTop + 36), size);
}

void CViewerDlg::DrawHeaderTitle(CDC& dc) {
    const CRect rcTitle = HeaderTitleRect(dc);
    CFont* pOldFont = dc.SelectObject(&m_titleFont);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(rcTitle.left, rcTitle.top, m_strHeaderTitle);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
}

HBRUSH CViewerDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_DLG)
        return m_backBrush;
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetTextColor(RGB(255, 255, 255));
        pDC->SetBkColor(RGB(0, 0, 0));
        return m_backBrush;
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
