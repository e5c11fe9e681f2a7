// The display through SDL2: one borderless window over the whole screen, drawn in software,
// created when the program first shows a window.
// The window system draws into our own buffer; Present copies the changed rectangles to the
// window and shows only those, so a repainted button costs a button's worth of pixels.
#pragma once

#include <deque>
#include <vector>

#include "framework/backend/Backend.h"
#include "framework/backend/sdl/SdlCursorCache.h"

struct SDL_Window;
union SDL_Event;

class CSdlBackend : public CBackend {
public:
    // Forces the window's size instead of the desktop's ("800x600"), for tests and for people
    // who want the program smaller than a large screen.
    static constexpr const char* SCREEN_ENV = "SLIDESHOW_SCREEN";

    CSdlBackend();
    ~CSdlBackend() override;
    CSdlBackend(const CSdlBackend&) = delete;
    CSdlBackend& operator=(const CSdlBackend&) = delete;

    // Opens the display; the window waits for ShowScreen. FALSE with a reason in GetError when
    // there is no display.
    BOOL Open(const CString& title);
    const CString& GetError() const { return m_strError; }

    // "WxH" (each 1 to 16384) into a size; FALSE for anything else.
    static BOOL ParseScreenSize(const char* text, CSize& size);

    // CBackend
    CSize GetScreenSize() const override { return m_size; }
    void ShowScreen() override;
    CSurface& GetSurface() override { return m_surface; }
    void Present(const std::vector<CRect>& changed) override;
    bool NextEvent(BackendEvent& event, int timeoutMs) override;
    uint64_t GetTicks() const override;
    void EnableScreenSaver(bool bEnable) override;
    void SetCursor(const BackendImage* cursor) override;
    void SetTitle(const CString& title) override;
    void SetIcon(const BackendImage& icon) override;
    void Minimize() override;
    void ShowMessage(const CString& caption, const CString& text) override;

private:
    BOOL ChooseSize();
    BOOL CreateScreenWindow();
    void ApplyIcon();
    void CoverScreen();
    // FALSE for SDL events that mean nothing to the window system.
    bool Translate(const SDL_Event& e, BackendEvent& out);
    void MergeFollowingMotion(BackendEvent& event);
    UINT KeyState() const;

    SDL_Window* m_pWindow = nullptr;
    CSize m_size;
    BOOL m_bForcedSize = FALSE;
    std::vector<uint32_t> m_pixels;
    CSurface m_surface;
    UINT m_nButtons = 0; // MK_* flags of the mouse buttons held
    CSdlCursorCache m_cursors;
    CString m_strError;
    CString m_strTitle;
    BackendImage m_icon;
    BOOL m_bHasIcon = FALSE;
    // The window could not be made: the program is told to close, as if the user had.
    BOOL m_bWindowFailed = FALSE;
    BOOL m_bInitialised = FALSE;
};
