#include "framework/backend/headless/HeadlessBackend.h"

#include <algorithm>

#include "framework/gdi/SurfacePng.h"
#include "framework/window/Messages.h"

namespace {
UINT ButtonFlag(int button) {
    switch (button) {
    case 1:
        return MK_LBUTTON;
    case 2:
        return MK_MBUTTON;
    case 3:
        return MK_RBUTTON;
    default:
        return 0;
    }
}
} // namespace

CHeadlessBackend::CHeadlessBackend(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    m_pixels.assign((size_t)width * height, 0);
    m_presented = m_pixels;
    m_surface = CSurface{m_pixels.data(), width, height, width};
}

CHeadlessBackend::~CHeadlessBackend() = default;

CSize CHeadlessBackend::GetScreenSize() const {
    return CSize(m_surface.width, m_surface.height);
}

CSurface& CHeadlessBackend::GetSurface() {
    return m_surface;
}

void CHeadlessBackend::Present(const std::vector<CRect>& changed) {
    ++m_nPresents;
    m_lastPresented = changed;
    for (const CRect& rc : changed) {
        CRect part;
        if (!part.IntersectRect(rc, m_surface.Bounds()))
            continue;
        for (int y = part.top; y < part.bottom; ++y) {
            std::copy(m_surface.Row(y) + part.left, m_surface.Row(y) + part.right,
                      m_presented.begin() + (ptrdiff_t)y * m_surface.pitch + part.left);
        }
    }
}

bool CHeadlessBackend::NextEvent(BackendEvent& event, int timeoutMs) {
    // A bounded wait (a timer is set) lets its time pass; the script goes on as for any wait.
    if (m_events.empty() && timeoutMs > 0)
        m_nTicks += (uint64_t)timeoutMs;
    if (m_events.empty() && timeoutMs != 0) {
        // A waiting loop with nothing scripted: the idle handler may go on with the script; when
        // it adds nothing, the next wait finds the desktop closing the window.
        if (m_idleHandler && !m_bIdleRan) {
            m_bIdleRan = true;
            m_idleHandler();
            if (m_events.empty())
                return false;
        } else {
            QueueClose();
        }
    }
    if (m_events.empty())
        return false;
    m_bIdleRan = false;
    event = m_events.front();
    m_events.pop_front();
    return true;
}

void CHeadlessBackend::SetCursor(const BackendImage* cursor) {
    m_bHasCursor = cursor != nullptr;
    if (!cursor)
        return;
    m_cursor = *cursor;
    m_cursorsShown.push_back(*cursor);
}

void CHeadlessBackend::SetTitle(const CString& title) {
    m_strTitle = title;
}

void CHeadlessBackend::SetIcon(const BackendImage& /*icon*/) {
    m_bHasIcon = TRUE;
}

void CHeadlessBackend::Minimize() {
    ++m_nMinimized;
}

void CHeadlessBackend::ShowMessage(const CString& caption, const CString& text) {
    m_messages.push_back({caption, text});
}

namespace {
BackendEvent PointerEvent(BackendEvent::Kind kind, int x, int y, int button, UINT keyState) {
    BackendEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.button = button;
    event.keyState = keyState;
    return event;
}
} // namespace

void CHeadlessBackend::QueueMove(int x, int y) {
    m_events.push_back(PointerEvent(BackendEvent::MouseMove, x, y, 0, m_nKeyState));
}

void CHeadlessBackend::QueueButtonDown(int x, int y, int button) {
    m_nKeyState |= ButtonFlag(button);
    m_events.push_back(PointerEvent(BackendEvent::ButtonDown, x, y, button, m_nKeyState));
}

void CHeadlessBackend::QueueButtonUp(int x, int y, int button) {
    m_nKeyState &= ~ButtonFlag(button);
    m_events.push_back(PointerEvent(BackendEvent::ButtonUp, x, y, button, m_nKeyState));
}

void CHeadlessBackend::QueueClick(int x, int y, int button) {
    QueueMove(x, y);
    QueueButtonDown(x, y, button);
    QueueButtonUp(x, y, button);
}

void CHeadlessBackend::QueueKey(int vk, UINT keyState) {
    BackendEvent event;
    event.kind = BackendEvent::KeyDown;
    event.vk = vk;
    event.keyState = m_nKeyState | keyState;
    m_events.push_back(event);
}

void CHeadlessBackend::QueueWheel(int x, int y, int notches) {
    BackendEvent event;
    event.kind = BackendEvent::Wheel;
    event.x = x;
    event.y = y;
    event.notches = notches;
    event.keyState = m_nKeyState;
    m_events.push_back(event);
}

void CHeadlessBackend::QueueClose() {
    BackendEvent event;
    event.kind = BackendEvent::Close;
    m_events.push_back(event);
}

void CHeadlessBackend::QueueEvent(const BackendEvent& event) {
    m_events.push_back(event);
}

COLORREF CHeadlessBackend::GetPixel(int x, int y) const {
    if (!m_surface.Bounds().PtInRect(CPoint(x, y)))
        return (COLORREF)-1;
    return ColorFromPixel(m_surface.Row(y)[x]);
}

COLORREF CHeadlessBackend::GetPresentedPixel(int x, int y) const {
    if (!m_surface.Bounds().PtInRect(CPoint(x, y)))
        return (COLORREF)-1;
    return ColorFromPixel(m_presented[(size_t)y * m_surface.pitch + x]);
}

BOOL CHeadlessBackend::SaveScreenshot(const char* path) const {
    return AfxWriteSurfacePng(m_surface, path);
}
