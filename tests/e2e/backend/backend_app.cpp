// A window over the whole screen with one owner-drawn button whose face turns from red to
// green (and back) with each click, for the end-to-end test of the SDL backend. It prints
// "ready" once the first frame is on the screen, "clicked N" per click, and ends on Escape.
#include <cstdio>

#include "framework/backend/sdl/SdlBackend.h"
#include "framework/gdi/DC.h"
#include "framework/window/Button.h"
#include "framework/window/Cursor.h"
#include "framework/window/MessageLoop.h"
#include "framework/window/Wnd.h"

namespace {

const UINT ID_COLOUR_BUTTON = 100;
const COLORREF BACKGROUND = RGB(10, 20, 30);
const COLORREF FACES[2] = {RGB(200, 0, 0), RGB(0, 200, 0)};

// Fills its face with the background colour that the parent's colour answer set on the DC.
class CColourButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        CDC* pDC = CDC::FromHandle(dis->hDC);
        pDC->FillSolidRect(&dis->rcItem, pDC->GetBkColor());
    }
};

class CMainWindow : public CWnd {
public:
    BOOL CreateOnScreen() {
        m_background.CreateSolidBrush(BACKGROUND);
        LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), m_background);
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        if (!CreateEx(0, cls, "e2e backend", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, 0))
            return FALSE;
        return m_button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(100, 100, 300, 160),
                               this, ID_COLOUR_BUTTON);
    }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override {
        if (nCtlColor == CTLCOLOR_BTN && pWnd == &m_button) {
            pDC->SetBkColor(FACES[m_nClicks % 2]);
            return m_background;
        }
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == ID_COLOUR_BUTTON && HIWORD(wParam) == BN_CLICKED) {
            ++m_nClicks;
            m_button.Invalidate(FALSE);
            printf("clicked %d\n", m_nClicks);
            fflush(stdout);
            return TRUE;
        }
        return CWnd::OnCommand(wParam, lParam);
    }
    // The button keeps the focus after a click, so Escape is caught on its way there.
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
            DestroyWindow();
            return TRUE;
        }
        return CWnd::PreTranslateMessage(pMsg);
    }
    void OnClose() override { DestroyWindow(); }

private:
    CBrush m_background;
    CColourButton m_button;
    int m_nClicks = 0;
};

} // namespace

int main() {
    CSdlBackend backend;
    if (!backend.Open("e2e backend")) {
        fprintf(stderr, "e2e_backend_app: %s\n", backend.GetError().GetString());
        return 2;
    }
    AfxSetBackend(&backend);
    CMainWindow window;
    if (!window.CreateOnScreen()) {
        fprintf(stderr, "e2e_backend_app: cannot create the window\n");
        return 3;
    }
    window.SetFocus();
    AfxPumpUntilIdle();
    printf("ready %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    fflush(stdout);
    while (IsWindow(window.m_hWnd))
        AfxPumpMessage(-1);
    AfxSetBackend(nullptr);
    return 0;
}
