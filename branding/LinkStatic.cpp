#include "branding/LinkStatic.h"

#include "framework/system/Resources.h"
#include "framework/system/WebOpener.h"
#include "framework/window/Cursor.h"
#include "res/ResourceIds.h"

namespace {

// A browser command written the Windows way names its argument "%1", quoted or bare; the
// quoted form wins wherever it stands, so its opening quote goes with it.
CString CutBeforeArgumentOne(const CString& strCommand) {
    int nCut = strCommand.Find("\"%1\"");
    if (nCut < 0)
        nCut = strCommand.Find("%1");
    return nCut < 0 ? strCommand : strCommand.Left(nCut);
}

} // namespace

CLinkStatic::~CLinkStatic() = default;

BOOL CLinkStatic::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)));
    return TRUE;
}

void CLinkStatic::OnMouseMove(UINT nFlags, CPoint point) {
    CStatic::OnMouseMove(nFlags, point);
    if (!m_bHover) {
        m_bHover = TRUE;
        Redraw();
        // Holding the mouse lets the link see the move that leaves it.
        SetCapture();
        return;
    }
    CRect rcClient;
    GetClientRect(rcClient);
    if (rcClient.PtInRect(point))
        return;
    m_bHover = FALSE;
    ReleaseCapture();
    Redraw();
}

void CLinkStatic::OnCaptureChanged(CWnd* pWnd) {
    CStatic::OnCaptureChanged(pWnd);
    if (!m_bHover)
        return;
    m_bHover = FALSE;
    Redraw();
}

// The parent's colour answer decides the hover colour, so the link repaints at once.
void CLinkStatic::Redraw() {
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int CLinkStatic::OpenWebAddress(LPCTSTR lpszAddress, int nShowCmd) {
    // The desktop decides how a program's window first shows; there is nothing to pass on.
    (void)nShowCmd;
    const CString strAddress(lpszAddress);
    if (CWebOpener::OpenWithDesktop(strAddress))
        return SE_OPENED;
    const int nDesktopResult = SE_ERR_NOASSOC;

    const CString strCommand = CutBeforeArgumentOne(CWebOpener::RegisteredBrowserCommand());
    if (strCommand.IsEmpty())
        return nDesktopResult;
    return CWebOpener::OpenWithCommand(strCommand, strAddress) ? SE_OPENED : SE_ERR_FNF;
}
