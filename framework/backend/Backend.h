// The one interface between the window system and a display. The window system draws into the
// backend's screen surface, tells it which rectangles changed, and pulls input from it. Nothing
// above framework/backend knows which backend runs.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/String.h"
#include "framework/gdi/Surface.h"

// An input event in the screen's device pixels.
struct BackendEvent {
    enum Kind {
        None,
        MouseMove,
        ButtonDown,
        ButtonUp,
        KeyDown,
        Wheel,  // at the pointer's position
        Close,  // the desktop asks the window to close
        Expose, // the desktop lost the screen's pixels: present everything again
    };
    Kind kind = None;
    int x = 0, y = 0;
    int button = 0;    // 1 left, 2 middle, 3 right
    UINT keyState = 0; // MK_* flags held while the event happened (after it, for buttons)
    int vk = 0;        // virtual-key code for KeyDown (VK_RETURN, VK_ESCAPE, VK_LEFT, ...)
    int notches = 0;   // for Wheel: positive away from the user
};

// A cursor or icon image: straight-alpha 0xAARRGGBB pixels, rows top-down.
struct BackendImage {
    int width = 0, height = 0;
    int hotX = 0, hotY = 0;
    std::vector<uint32_t> pixels;
};

class CBackend {
public:
    virtual ~CBackend() = default;

    // The screen in device pixels (the windows see it through the screen scale: ScreenScale.h).
    virtual CSize GetScreenSize() const = 0;
    // Puts the program's window on the display. Nothing shows before the first top-level
    // window does: a program that ends early (a warning, no collection) leaves no trace.
    virtual void ShowScreen() = 0;
    // The screen's pixels; valid for the backend's life.
    virtual CSurface& GetSurface() = 0;
    // Shows the given changed rectangles of the surface on the display.
    virtual void Present(const std::vector<CRect>& changed) = 0;
    // The next input event: waits up to timeoutMs (−1 for ever, 0 not at all). FALSE: none.
    virtual bool NextEvent(BackendEvent& event, int timeoutMs) = 0;
    // The pointer's shape; null for the standard arrow.
    virtual void SetCursor(const BackendImage* cursor) = 0;
    virtual void SetTitle(const CString& title) = 0;
    virtual void SetIcon(const BackendImage& icon) = 0;
    virtual void Minimize() = 0;
    // Milliseconds from a fixed moment; the windows' timers run on it.
    virtual uint64_t GetTicks() const = 0;
    // While disabled, the desktop's screen saver does not start.
    virtual void EnableScreenSaver(bool bEnable) = 0;
    // A message box with an OK button; returns when the user has answered it.
    virtual void ShowMessage(const CString& caption, const CString& text) = 0;
};

// The backend in use; the program installs one before it creates any window. Installing one
// chooses the screen scale for its screen (AfxChooseScreenScale).
CBackend* AfxGetBackend();
void AfxSetBackend(CBackend* backend);
