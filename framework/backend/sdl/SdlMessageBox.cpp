#include "framework/backend/sdl/SdlMessageBox.h"

#include <SDL.h>

#include "framework/gdi/DC.h"
#include "framework/gdi/GdiObject.h"

namespace {

const int MARGIN = 16;
const int MAX_TEXT_WIDTH = 440;
const int MIN_TEXT_WIDTH = 200;
const CSize BUTTON(80, 24);
const int FONT_HEIGHT = -13;
const UINT TEXT_FORMAT = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

// Draws with the framework's own text on the box's pixels; the context goes with the object.
class CBoxDC {
public:
    explicit CBoxDC(CSurface* pSurface) {
        m_hdc = AfxCreateSurfaceDC(pSurface, CPoint(0, 0), pSurface->Bounds());
        LOGFONT lf = {};
        lf.lfHeight = FONT_HEIGHT;
        m_font.CreateFontIndirect(&lf);
        m_pOldFont = Dc().SelectObject(&m_font);
    }
    ~CBoxDC() {
        Dc().SelectObject(m_pOldFont);
        ::DeleteDC(m_hdc);
    }
    CBoxDC(const CBoxDC&) = delete;
    CBoxDC& operator=(const CBoxDC&) = delete;
    CDC& Dc() { return *CDC::FromHandle(m_hdc); }

private:
    HDC m_hdc = nullptr;
    CFont m_font;
    CFont* m_pOldFont = nullptr;
};

} // namespace

CSdlMessageBox::CSdlMessageBox(const CString& caption, const CString& text)
    : m_strCaption(caption), m_strText(text) {
    Layout();
}

CSdlMessageBox::~CSdlMessageBox() {
    if (m_pWindow)
        SDL_DestroyWindow(m_pWindow);
}

void CSdlMessageBox::Layout() {
    // Measured on a one-pixel surface: only the font's metrics matter here.
    uint32_t pixel = 0;
    CSurface probe{&pixel, 1, 1, 1};
    CRect rcText(0, 0, MAX_TEXT_WIDTH, 0);
    {
        CBoxDC dc(&probe);
        dc.Dc().DrawText(m_strText, rcText, TEXT_FORMAT | DT_CALCRECT);
    }
    const int nTextWidth = rcText.Width() < MIN_TEXT_WIDTH ? MIN_TEXT_WIDTH : rcText.Width();
    m_rcText = CRect(CPoint(MARGIN, MARGIN), CSize(nTextWidth, rcText.Height()));
    m_size = CSize(nTextWidth + 2 * MARGIN, m_rcText.bottom + MARGIN + BUTTON.cy + MARGIN);
    m_rcButton = CRect(CPoint((m_size.cx - BUTTON.cx) / 2, m_rcText.bottom + MARGIN), BUTTON);
    m_pixels.assign((size_t)m_size.cx * (size_t)m_size.cy, 0);
    m_surface = CSurface{m_pixels.data(), m_size.cx, m_size.cy, m_size.cx};
}

void CSdlMessageBox::Draw() {
    CBoxDC box(&m_surface);
    CDC& dc = box.Dc();
    dc.FillSolidRect(CRect(CPoint(0, 0), m_size), GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    CRect rcText = m_rcText;
    dc.DrawText(m_strText, rcText, TEXT_FORMAT);
    // The OK button, framed twice: it is the default button.
    dc.FillSolidRect(m_rcButton,
                     m_bButtonDown ? GetSysColor(COLOR_BTNSHADOW) : GetSysColor(COLOR_BTNFACE));
    CBrush frame(GetSysColor(COLOR_WINDOWTEXT));
    CRect rcFrame = m_rcButton;
    dc.FrameRect(rcFrame, &frame);
    rcFrame.DeflateRect(1, 1);
    dc.FrameRect(rcFrame, &frame);
    CRect rcCaption = m_rcButton;
    dc.DrawText("OK", rcCaption, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CSdlMessageBox::Present() {
    SDL_Surface* target = SDL_GetWindowSurface(m_pWindow);
    if (!target)
        return;
    SDL_ConvertPixels(m_size.cx, m_size.cy, SDL_PIXELFORMAT_RGB888, m_pixels.data(), m_size.cx * 4,
                      target->format->format, target->pixels, target->pitch);
    SDL_UpdateWindowSurface(m_pWindow);
}

bool CSdlMessageBox::Answers(const SDL_Event& e, uint32_t windowId) {
    switch (e.type) {
    case SDL_KEYDOWN:
        return e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER ||
               e.key.keysym.sym == SDLK_ESCAPE || e.key.keysym.sym == SDLK_SPACE;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (e.button.windowID != windowId || e.button.button != SDL_BUTTON_LEFT)
            return false;
        const bool bOver = m_rcButton.PtInRect(CPoint(e.button.x, e.button.y)) != FALSE;
        const bool bDown = e.type == SDL_MOUSEBUTTONDOWN;
        if (bDown || m_bButtonDown != bDown) {
            m_bButtonDown = bDown && bOver;
            Draw();
            Present();
        }
        return !bDown && bOver;
    }
    case SDL_WINDOWEVENT:
        if (e.window.windowID != windowId)
            return false;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            return true;
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
            Present();
        return false;
    case SDL_QUIT:
        // The desktop is closing the program: the box goes, and the program hears it after.
        SDL_PushEvent(const_cast<SDL_Event*>(&e));
        return true;
    default:
        return false;
    }
}

BOOL CSdlMessageBox::Run() {
    m_pWindow = SDL_CreateWindow(m_strCaption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 m_size.cx, m_size.cy, SDL_WINDOW_ALWAYS_ON_TOP);
    if (!m_pWindow)
        return FALSE;
    Draw();
    SDL_ShowWindow(m_pWindow);
    SDL_RaiseWindow(m_pWindow);
    // Without a window manager nobody gives the new window the keyboard: take it.
    SDL_SetWindowInputFocus(m_pWindow);
    Present();
    const uint32_t windowId = SDL_GetWindowID(m_pWindow);
    SDL_Event e;
    while (SDL_WaitEvent(&e)) {
        if (e.type == SDL_QUIT) {
            Answers(e, windowId);
            break;
        }
        if (Answers(e, windowId))
            break;
    }
    SDL_DestroyWindow(m_pWindow);
    m_pWindow = nullptr;
    return TRUE;
}
