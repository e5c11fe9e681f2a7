// A message box of our own on the SDL display: the text over an OK button in a small window of
// its own, which takes the keyboard at once, so that Enter and Escape close it even on an X
// server without a window manager or fonts (where the desktop's own dialogs do not show).
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/String.h"
#include "framework/gdi/Surface.h"

struct SDL_Window;

class CSdlMessageBox {
public:
    CSdlMessageBox(const CString& caption, const CString& text);
    ~CSdlMessageBox();
    CSdlMessageBox(const CSdlMessageBox&) = delete;
    CSdlMessageBox& operator=(const CSdlMessageBox&) = delete;

    // Shows the box and waits until the user answers it (Enter, Escape, Space, a click on OK
    // or the window's close). FALSE when no window could be made.
    BOOL Run();

    // The box's layout, for a text that wraps at the box's widest: client size and the OK
    // button's rectangle.
    CSize GetSize() const { return m_size; }
    CRect GetButtonRect() const { return m_rcButton; }

private:
    void Layout();
    void Draw();
    void Present();
    // TRUE when the event answers the box.
    bool Answers(const union SDL_Event& e, uint32_t windowId);

    CString m_strCaption;
    CString m_strText;
    CSize m_size;
    CRect m_rcText;
    CRect m_rcButton;
    std::vector<uint32_t> m_pixels;
    CSurface m_surface;
    SDL_Window* m_pWindow = nullptr;
    bool m_bButtonDown = false;
};
