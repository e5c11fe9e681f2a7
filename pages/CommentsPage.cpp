#include "pages/CommentsPage.h"

#include <cstring>

#include "branding/PartnerLayout.h"
#include "framework/core/Exception.h"
#include "framework/gdi/DC.h"
#include "framework/window/PaintDC.h"
#include "pages/CollectionOwner.h"
#include "pages/PageCommandIds.h"
#include "res/ResourceIds.h"

namespace {

const CRect INNER_FRAME(219, 3, 781, 463);
const CRect OUTER_FRAME(216, 0, 784, 466);
const CRect PANEL_PLACE(220, 4, 780, 462);
const COLORREF LINE_COLOUR = RGB(51, 51, 51);
const int LINE_ROWS[2] = {50, 102};
const int LINE_END_X = 205;

} // namespace

CCommentsPage::CCommentsPage(CWnd* pParent) : CDialog(IDD_COMMENTS_PAGE, pParent) {
    m_brBack.CreateSolidBrush(RGB(0, 0, 0));
}

CCommentsPage::~CCommentsPage() {
    m_brBack.DeleteObject();
    m_fontValue.DeleteObject();
    delete m_pFirstItem;
    m_pFirstItem = nullptr;
}

BOOL CCommentsPage::OnInitDialog() {
    CDialog::OnInitDialog();
    LOGFONT lf = {};
    lf.lfHeight = 12;
    lf.lfWeight = FW_BOLD;
    CString strFace;
    strFace.LoadString(IDS_BOLD_FONT_FACE);
    strncpy(lf.lfFaceName, strFace, LF_FACESIZE - 1);
    m_fontValue.CreateFontIndirect(&lf);

    CCollectionFile* pCollection = CCollectionOwner::Of(GetParent());
    try {
        if (pCollection != nullptr)
            m_pFirstItem = pCollection->LoadItem(0);
    } catch (const CException&) {
        // A damaged first record leaves the page as its template draws it, like a missing one.
        m_pFirstItem = nullptr;
    }
    if (m_pFirstItem != nullptr) {
        m_strTitle = m_pFirstItem->m_strCollectionTitle;
        ShowRecordValues();
        LayoutComments();
        ShowPartnerLogo();
    }
    return TRUE;
}

void CCommentsPage::ShowRecordValues() {
    const struct {
        int nID;
        const CString& strValue;
    } values[] = {{IDC_CREATED_BY, m_pFirstItem->m_strCreatedBy},
                  {IDC_DATE_CREATED, m_pFirstItem->m_strDateCreated}};
    for (const auto& value : values) {
        CWnd* pControl = GetDlgItem(value.nID);
        if (pControl == nullptr)
            continue;
        pControl->SetWindowText(value.strValue);
        pControl->SendMessage(WM_SETFONT, (WPARAM)m_fontValue.GetSafeHandle(), TRUE);
    }
}

void CCommentsPage::LayoutComments() {
    m_innerFrame.Create("", WS_CHILD | WS_VISIBLE | SS_GRAYFRAME, INNER_FRAME, this, 0xFFFF);
    m_outerFrame.Create("", WS_CHILD | WS_VISIBLE | SS_GRAYFRAME, OUTER_FRAME, this, 0xFFFF);
    m_commentsPanel.Create(this, WS_CHILD | WS_VISIBLE, 0);
    m_commentsPanel.MoveWindow(PANEL_PLACE.left, PANEL_PLACE.top, PANEL_PLACE.Width(),
                               PANEL_PLACE.Height(), TRUE);
    m_commentsPanel.SetBackColor(RGB(0, 0, 0));
    CRect rcClient;
    m_commentsPanel.GetClientRect(&rcClient);
    const int cw = rcClient.Width();
    m_commentsText.Create(&m_commentsPanel, 0);
    m_commentsText.SetTextColor(RGB(255, 255, 255));
    m_commentsText.SetBackColor(RGB(0, 0, 0));
    m_commentsText.SetText(m_pFirstItem->m_strComments);
    const int h = m_commentsText.GetWrappedHeight(cw);
    m_commentsText.MoveWindow(0, 0, cw, h, TRUE);
    m_commentsPanel.SetContentSize(0, h);
}

void CCommentsPage::ShowPartnerLogo() {
    CString strMaker;
    strMaker.LoadString(IDS_MAKER_NAME);
    if (strcmp(g_strPartnerName, strMaker) == 0)
        return;
    const CRect rcLogo(GetPosition(REGION_LOGO, POS_LEFT), GetPosition(REGION_LOGO, POS_TOP),
                       GetPosition(REGION_LOGO, POS_RIGHT), GetPosition(REGION_LOGO, POS_BOTTOM));
    m_bmpLogo.LoadBitmap(IDB_PARTNER_LOGO);
    m_logoLink.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BITMAP, rcLogo, this,
                      ID_PARTNER_LOGO);
    // A layout without a logo region gives an empty rectangle, which shows nothing: the bitmap
    // would grow the control to its own size.
    if (!rcLogo.IsRectEmpty())
        m_logoLink.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)m_bmpLogo.GetSafeHandle());
    m_logoLink.ShowWindow(SW_SHOW);
}

BOOL CCommentsPage::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nID == ID_PARTNER_LOGO && nCode == CN_COMMAND && m_logoLink.GetSafeHwnd() != nullptr)
        CLinkStatic::OpenWebAddress(g_strPartnerUrl, SW_SHOW);
    return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

HBRUSH CCommentsPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_DLG)
        return m_brBack;
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetTextColor(RGB(255, 255, 255));
        pDC->SetBkMode(TRANSPARENT);
        return m_brBack;
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CCommentsPage::OnPaint() {
    CPaintDC dc(this);
    CPen pen(PS_SOLID, 0, LINE_COLOUR);
    CPen* pOldPen = dc.SelectObject(&pen);
    for (int y : LINE_ROWS) {
        dc.MoveTo(0, y);
        dc.LineTo(LINE_END_X, y);
    }
    dc.SelectObject(pOldPen);
    pen.DeleteObject();
}
