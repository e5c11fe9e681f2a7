#include "framework/backend/sdl/SdlBackend.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/backend/sdl/PlatformMessageBox.h"
#include "framework/backend/sdl/SdlKeyMap.h"
#include "framework/window/Messages.h"

namespace {

const int MAX_SCREEN_SIDE = 16384;
const int DISPLAY_TRIES = 4;
const Uint32 DISPLAY_RETRY_MS = 250;

UINT ButtonFlag(int sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return MK_LBUTTON;
    case SDL_BUTTON_MIDDLE:
        return MK_MBUTTON;
    case SDL_BUTTON_RIGHT:
        return MK_RBUTTON;
    default:
        return 0;
    }
}

SDL_Surface* SurfaceOf(const BackendImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != (size_t)image.width * (size_t)image.height)
        return nullptr;
    return SDL_CreateRGBSurfaceWithFormatFrom((void*)image.pixels.data(), image.width, image.height,
                                              32, image.width * 4, SDL_PIXELFORMAT_ARGB8888);
}

bool HasVideoDriver(const char* name) {
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i)
        if (strcmp(SDL_GetVideoDriver(i), name) == 0)
            return true;
    return false;
}

const char* Environment(const char* name) {
    const char* value = getenv(name);
    return value && *value ? value : nullptr;
}

// Keeps SDL to the displays the environment names. Left to itself it falls back to drawing off
// screen, a window nobody sees that never ends, and asks the Wayland library for a display that
// is not there, which complains on stderr. FALSE with the reason when no display is named.
BOOL ChooseDisplay(CString& strError) {
    if (Environment("SDL_VIDEODRIVER"))
        return TRUE; // the user's own choice
    if (!HasVideoDriver("x11") && !HasVideoDriver("wayland"))
        return TRUE; // Windows, macOS
    const char* x11 = Environment("DISPLAY");
    const char* wayland = Environment("WAYLAND_DISPLAY");
    if (!x11 && !wayland) {
        strError = "cannot open display: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return FALSE;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, !wayland ? "x11" : !x11 ? "wayland" : "x11,wayland");
    return TRUE;
}

CString DisplayNames() {
    const char* x11 = Environment("DISPLAY");
    const char* wayland = Environment("WAYLAND_DISPLAY");
    if (Environment("SDL_VIDEODRIVER") || (!x11 && !wayland))
        return CString("display");
    if (!wayland)
        return CString("display ") + x11;
    if (!x11)
        return CString("Wayland display ") + wayland;
    return CString("display ") + x11 + " nor Wayland display " + wayland;
}

} // namespace

CSdlBackend::CSdlBackend() = default;

CSdlBackend::~CSdlBackend() {
    m_cursors.Clear();
    if (m_pWindow)
        SDL_DestroyWindow(m_pWindow);
    if (!m_bInitialised)
        return;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // The last user of SDL also closes what SDL opened on the side (its desktop-bus link).
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

BOOL CSdlBackend::ParseScreenSize(const char* text, CSize& size) {
    if (!text)
        return FALSE;
    int w = 0, h = 0, used = 0;
    if (sscanf(text, "%5d%*[xX]%5d%n", &w, &h, &used) != 2 || text[used] != '\0')
        return FALSE;
    if (w < 1 || h < 1 || w > MAX_SCREEN_SIDE || h > MAX_SCREEN_SIDE)
        return FALSE;
    size = CSize(w, h);
    return TRUE;
}

BOOL CSdlBackend::Open(const CString& title) {
    // A message box takes the focus from our full-screen window; it must not minimise it.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // X11's own shared-memory image sends only the changed rectangles; the texture-backed
    // window surface would upload the whole window for every button that repaints.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The click that activates the window is a click like any other.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The screen saver may start as usual; only a running slideshow holds it off.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (!ChooseDisplay(m_strError))
        return FALSE;
    // An X server that resets after its last client left refuses connections for a moment.
    for (int nTry = 1; SDL_InitSubSystem(SDL_INIT_VIDEO) != 0; ++nTry) {
        if (nTry == DISPLAY_TRIES) {
            m_strError = "cannot open " + DisplayNames() + ": " + SDL_GetError();
            return FALSE;
        }
        SDL_Delay(DISPLAY_RETRY_MS);
    }
    m_bInitialised = TRUE;
    if (!ChooseSize())
        return FALSE;
    m_strTitle = title;
    m_pixels.assign((size_t)m_size.cx * (size_t)m_size.cy, 0);
    m_surface.pixels = m_pixels.data();
    m_surface.width = m_size.cx;
    m_surface.height = m_size.cy;
    m_surface.pitch = m_size.cx;
    return TRUE;
}

BOOL CSdlBackend::ChooseSize() {
    const char* forced = getenv(SCREEN_ENV);
    if (forced && *forced) {
        if (!ParseScreenSize(forced, m_size)) {
            m_strError = CString(SCREEN_ENV) + " must look like 800x600, not \"" + forced + "\"";
            return FALSE;
        }
        m_bForcedSize = TRUE;
        return TRUE;
    }
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        m_strError = CString("cannot read the screen size: ") + SDL_GetError();
        return FALSE;
    }
    m_size = CSize(mode.w, mode.h);
    return TRUE;
}

void CSdlBackend::ShowScreen() {
    if (m_pWindow || m_bWindowFailed || !m_bInitialised)
        return;
    if (!CreateScreenWindow()) {
        m_bWindowFailed = TRUE;
        fprintf(stderr, "%s\n", m_strError.GetString());
        return;
    }
    // What the program drew before the window existed shows at once.
    Present({CRect(0, 0, m_size.cx, m_size.cy)});
}

BOOL CSdlBackend::CreateScreenWindow() {
    Uint32 flags = SDL_WINDOW_BORDERLESS | (m_bForcedSize ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    m_pWindow = SDL_CreateWindow(m_strTitle, 0, 0, m_size.cx, m_size.cy, flags);
    if (!m_pWindow) {
        m_strError = CString("cannot create the window: ") + SDL_GetError();
        return FALSE;
    }
    ApplyIcon();
    CoverScreen();
    return TRUE;
}

// Without a window manager nobody honours the full-screen request, so the window places and
// sizes itself; with one, the request has already made it cover the screen.
void CSdlBackend::CoverScreen() {
    SDL_SetWindowPosition(m_pWindow, 0, 0);
    int w = 0, h = 0;
    SDL_GetWindowSize(m_pWindow, &w, &h);
    if (w != m_size.cx || h != m_size.cy)
        SDL_SetWindowSize(m_pWindow, m_size.cx, m_size.cy);
    SDL_ShowWindow(m_pWindow);
    SDL_RaiseWindow(m_pWindow);
}

void CSdlBackend::Present(const std::vector<CRect>& changed) {
    if (!m_pWindow || changed.empty())
        return;
    SDL_Surface* target = SDL_GetWindowSurface(m_pWindow);
    if (!target)
        return;
    std::vector<SDL_Rect> rects;
    rects.reserve(changed.size());
    const CRect bounds(0, 0, target->w < m_size.cx ? target->w : m_size.cx,
                       target->h < m_size.cy ? target->h : m_size.cy);
    const bool same = target->format->format == SDL_PIXELFORMAT_RGB888 ||
                      target->format->format == SDL_PIXELFORMAT_ARGB8888;
    if (SDL_MUSTLOCK(target))
        SDL_LockSurface(target);
    for (const CRect& c : changed) {
        CRect r;
        if (!r.IntersectRect(c, bounds))
            continue;
        const uint32_t* src = m_pixels.data() + (size_t)r.top * m_size.cx + r.left;
        uint8_t* dst = (uint8_t*)target->pixels + (size_t)r.top * target->pitch +
                       (size_t)r.left * target->format->BytesPerPixel;
        if (same) {
            for (int y = 0; y < r.Height(); ++y)
                memcpy(dst + (size_t)y * target->pitch, src + (size_t)y * m_size.cx,
                       (size_t)r.Width() * 4);
        } else {
            SDL_ConvertPixels(r.Width(), r.Height(), SDL_PIXELFORMAT_RGB888, src, m_size.cx * 4,
                              target->format->format, dst, target->pitch);
        }
        rects.push_back(SDL_Rect{(int)r.left, (int)r.top, r.Width(), r.Height()});
    }
    if (SDL_MUSTLOCK(target))
        SDL_UnlockSurface(target);
    if (!rects.empty())
        SDL_UpdateWindowSurfaceRects(m_pWindow, rects.data(), (int)rects.size());
}

UINT CSdlBackend::KeyState() const {
    SDL_Keymod mod = SDL_GetModState();
    return m_nButtons | ((mod & KMOD_SHIFT) ? MK_SHIFT : 0) | ((mod & KMOD_CTRL) ? MK_CONTROL : 0) |
           ((mod & KMOD_ALT) ? MK_ALT : 0);
}

bool CSdlBackend::Translate(const SDL_Event& e, BackendEvent& out) {
    out = BackendEvent();
    switch (e.type) {
    case SDL_MOUSEMOTION:
        out.kind = BackendEvent::MouseMove;
        out.x = e.motion.x, out.y = e.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        UINT flag = ButtonFlag(e.button.button);
        if (!flag)
            return false;
        bool down = e.type == SDL_MOUSEBUTTONDOWN;
        m_nButtons = down ? (m_nButtons | flag) : (m_nButtons & ~flag);
        out.kind = down ? BackendEvent::ButtonDown : BackendEvent::ButtonUp;
        out.x = e.button.x, out.y = e.button.y;
        out.button = e.button.button;
        break;
    }
    case SDL_KEYDOWN:
        out.vk = VirtualKeyFromSdl(e.key.keysym.sym);
        if (!out.vk)
            return false;
        out.kind = BackendEvent::KeyDown;
        break;
    case SDL_MOUSEWHEEL:
        if (e.wheel.y == 0)
            return false;
        out.kind = BackendEvent::Wheel;
        out.notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        SDL_GetMouseState(&out.x, &out.y);
        break;
    case SDL_QUIT:
        out.kind = BackendEvent::Close;
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            out.kind = BackendEvent::Close;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            out.kind = BackendEvent::Expose;
            break;
        default:
            return false;
        }
        break;
    default:
        return false;
    }
    out.keyState = KeyState();
    return true;
}

// A burst of motion becomes its last position: the windows only care where the pointer is now.
void CSdlBackend::MergeFollowingMotion(BackendEvent& event) {
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
           next.type == SDL_MOUSEMOTION) {
        SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION);
        event.x = next.motion.x;
        event.y = next.motion.y;
    }
}

bool CSdlBackend::NextEvent(BackendEvent& event, int timeoutMs) {
    if (!m_bInitialised)
        return false;
    if (m_bWindowFailed) {
        event = BackendEvent();
        event.kind = BackendEvent::Close;
        return true;
    }
    Uint32 deadline = SDL_GetTicks() + (Uint32)(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        SDL_Event e;
        int got;
        if (timeoutMs < 0) {
            got = SDL_WaitEvent(&e);
        } else {
            int left = (int)(deadline - SDL_GetTicks());
            got = left > 0 ? SDL_WaitEventTimeout(&e, left) : SDL_PollEvent(&e);
        }
        if (!got)
            return false;
        if (!Translate(e, event))
            continue;
        if (event.kind == BackendEvent::MouseMove)
            MergeFollowingMotion(event);
        return true;
    }
}

void CSdlBackend::SetCursor(const BackendImage* cursor) {
    m_cursors.Show(cursor);
}

void CSdlBackend::SetTitle(const CString& title) {
    m_strTitle = title;
    if (m_pWindow)
        SDL_SetWindowTitle(m_pWindow, title);
}

void CSdlBackend::SetIcon(const BackendImage& icon) {
    m_icon = icon;
    m_bHasIcon = TRUE;
    ApplyIcon();
}

void CSdlBackend::ApplyIcon() {
    if (!m_pWindow || !m_bHasIcon)
        return;
    SDL_Surface* s = SurfaceOf(m_icon);
    if (!s)
        return;
    SDL_SetWindowIcon(m_pWindow, s);
    SDL_FreeSurface(s);
}

uint64_t CSdlBackend::GetTicks() const {
    return SDL_GetTicks64();
}

void CSdlBackend::EnableScreenSaver(bool bEnable) {
    if (bEnable)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
}

void CSdlBackend::Minimize() {
    if (m_pWindow)
        SDL_MinimizeWindow(m_pWindow);
}

void CSdlBackend::ShowMessage(const CString& caption, const CString& text) {
    if (!m_bInitialised || !AfxShowPlatformMessageBox(caption, text))
        fprintf(stderr, "%s: %s\n", caption.GetString(), text.GetString());
    // The box covered part of our window; the desktop may not tell us.
    if (m_pWindow) {
        SDL_Event e = {};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_EXPOSED;
        e.window.windowID = SDL_GetWindowID(m_pWindow);
        SDL_PushEvent(&e);
    }
}
