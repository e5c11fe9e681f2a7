#include "shell/KeysOverlay.h"

#include "framework/gdi/DC.h"
#include "framework/window/PaintDC.h"

namespace {

const int MARGIN = 10;

const char* const KEYS_TEXT = "Keys\n"
                              "Right, Space, Page Down:  next\n"
                              "Left, Backspace, Page Up:  previous\n"
                              "Page Down, Page Up on Thumbnails:  turn the page\n"
                              "Home, End:  first item, last item\n"
                              "i, d, t:  Image, Details, Thumbnails\n"
                              "c:  Comments\n"
                              "s, F5:  slideshow on and off\n"
                              "+, -:  longer, shorter slideshow delay\n"
                              "Mouse wheel:  scroll, or step through pictures\n"
                              "q, Escape:  end\n"
                              "F1, ?:  this list";

} // namespace

void CKeysOverlay::Open(CWnd* pParent, CFont* pFont, const CRect& rcFrame) {
    if (GetSafeHwnd() == nullptr) {
        const CPoint centre = rcFrame.CenterPoint();
        const CRect rect(centre.x - WIDTH / 2, centre.y - HEIGHT / 2, centre.x + WIDTH / 2,
                         centre.y + HEIGHT / 2);
        Create(KEYS_TEXT, WS_CHILD | SS_LEFT | SS_NOPREFIX, rect, pParent, 0xFFFF);
        SetFont(pFont);
    }
    BringWindowToTop();
    ShowWindow(SW_SHOW);
    Invalidate();
}

void CKeysOverlay::Close() {
    if (GetSafeHwnd() != nullptr)
        ShowWindow(SW_HIDE);
}

// White text on black inside a white frame, so that the list stands out on any page.
LRESULT CKeysOverlay::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return CStatic::WindowProc(message, wParam, lParam);
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(0, 0, 0));
    CBrush white;
    white.CreateSolidBrush(RGB(255, 255, 255));
    dc.FrameRect(&rc, &white);
    white.DeleteObject();
    CString strText;
    GetWindowText(strText);
    CFont* pOldFont = dc.SelectObject(GetFont());
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    rc.DeflateRect(MARGIN, MARGIN);
    dc.DrawText(strText, &rc, DT_NOPREFIX);
    dc.SelectObject(pOldFont);
    return 0;
}
