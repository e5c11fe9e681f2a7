#include "branding/AboutBox.h"

#include "branding/LinkStatic.h"
#include "branding/PartnerLayout.h"
#include "framework/gdi/DC.h"
#include "framework/system/Resources.h"
#include "framework/window/Cursor.h"
#include "framework/window/PaintDC.h"
#include "res/ResourceIds.h"

namespace {

// Under the artwork's product line and above its closing small print.
const int VERSION_X = 38;
const int VERSION_Y = 235;

CAboutBox::CArea ReadArea(int nRegion) {
    CAboutBox::CArea area;
    area.nLeft = GetPosition(nRegion, POS_LEFT);
    area.nTop = GetPosition(nRegion, POS_TOP);
    area.nBottom = GetPosition(nRegion, POS_BOTTOM);
    return area;
}

} // namespace

CAboutBox::CAboutBox() : CDialog(IDD_ABOUT_BOX) {
    m_brBack.CreateSolidBrush(RGB(0, 0, 0));
}

CAboutBox::~CAboutBox() {
    m_fontVersion.DeleteObject();
    m_bmpArt.DeleteObject();
    m_brBack.DeleteObject();
}

BOOL CAboutBox::OnInitDialog() {
    CDialog::OnInitDialog();
    m_areaProduct = ReadArea(REGION_ABOUT_STASHWELL);
    m_areaPartner = ReadArea(REGION_ABOUT_PARTNER);
    m_bmpArt.LoadBitmap(IDB_ABOUT_ART);
    LOGFONT lf = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lf, 0);
    m_fontVersion.CreateFontIndirect(&lf);
    return TRUE;
}

HBRUSH CAboutBox::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    return (HBRUSH)m_brBack.GetSafeHandle();
}

void CAboutBox::OnPaint() {
    CPaintDC dc(this);
    BITMAP bm = {};
    CDC dcMem;
    if (m_bmpArt.GetBitmap(&bm) != 0 && dcMem.CreateCompatibleDC(&dc)) {
        CBitmap* pOldBitmap = dcMem.SelectObject(&m_bmpArt);
        dc.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &dcMem, 0, 0, SRCCOPY);
        dcMem.SelectObject(pOldBitmap);
    }
    CFont* pOldFont = dc.SelectObject(&m_fontVersion);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.TextOut(VERSION_X, VERSION_Y, FormatVersionLine());
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
}

// Formatted at every paint, so the line follows the collection's header.
CString CAboutBox::FormatVersionLine() const {
    const CAboutBoxOwner* pOwner = dynamic_cast<const CAboutBoxOwner*>(GetOwner());
    CString strVersion;
    strVersion.Format("Version %s",
                      pOwner != nullptr ? pOwner->GetCollectionHeader().GetString() : "");
    return strVersion;
}

void CAboutBox::OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialog::OnShowWindow(bShow, nStatus);
    // Holding the mouse routes every click on the program's windows here.
    if (bShow)
        SetCapture();
    else
        ReleaseCapture();
}

BOOL CAboutBox::IsInArea(CPoint point) const {
    CRect rcClient;
    GetClientRect(rcClient);
    return m_areaProduct.Contains(point, rcClient.Width()) ||
           m_areaPartner.Contains(point, rcClient.Width());
}

void CAboutBox::OnMouseMove(UINT nFlags, CPoint point) {
    if (IsInArea(point))
        ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)));
    else
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    CDialog::OnMouseMove(nFlags, point);
}

void CAboutBox::OnLButtonDown(UINT, CPoint point) {
    CRect rcClient;
    GetClientRect(rcClient);
    // The bands are tested independently: where they overlap both addresses open, the
    // maker's first. A failed opening is not reported; the box closes anyway.
    if (m_areaProduct.Contains(point, rcClient.Width())) {
        CString strAddress;
        strAddress.LoadString(IDS_MAKER_WEB_ADDRESS);
        CLinkStatic::OpenWebAddress(strAddress, SW_SHOW);
    }
    if (m_areaPartner.Contains(point, rcClient.Width()))
        CLinkStatic::OpenWebAddress(g_strPartnerUrl, SW_SHOW);
    Close();
}

void CAboutBox::OnOK() {
    Close();
}

void CAboutBox::OnCancel() {
    Close();
}

void CAboutBox::Close() {
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr)
        pOwner->EnableWindow(TRUE);
    EndDialog(1);
    // Repainting the owner with all its children takes the darkening away.
    if (pOwner != nullptr)
        pOwner->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    ReleaseCapture();
}
