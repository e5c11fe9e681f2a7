#include "shell/KeysOverlay.h"

#include "framework/gdi/DC.h"
#include "framework/window/ClientDC.h"

namespace {

const char* const KEYS_TEXT = "  Keys\n"
                              "  Right, Space, Page Down:  next\n"
                              "  Left, Backspace, Page Up:  previous\n"
                              "  Page Down, Page Up on Thumbnails:  turn the page\n"
                              "  Home, End:  first item, last item\n"
                              "  i, d, t:  Image, Details, Thumbnails\n"
                              "  c:  Comments\n"
                              "  s, F5:  slideshow on and off\n"
                              "  +, -:  longer, shorter slideshow delay\n"
                              "  Mouse wheel:  scroll, or step through pictures\n"
                              "  q, Escape:  end\n"
                              "  F1, ?:  this list";

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

// A white frame sets the list off from a black page.
LRESULT CKeysOverlay::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
    if (message == WM_PAINT) {
        CClientDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        CBrush white;
        white.CreateSolidBrush(RGB(255, 255, 255));
        dc.FrameRect(&rc, &white);
        white.DeleteObject();
    }
    return result;
}
