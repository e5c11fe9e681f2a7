#include "framework/window/WindowManager.h"
#include "framework/window/Wnd.h"

namespace {
CWindowManager& Manager() {
    return CWindowManager::Get();
}
} // namespace

CWnd* CWnd::SetCapture() {
    CWindowManager& m = Manager();
    HWND hOld = m.m_hCapture;
    if (!Record())
        return FromHandle(hOld);
    m.m_hCapture = m_hWnd;
    if (hOld && hOld != m_hWnd)
        ::SendMessage(hOld, WM_CAPTURECHANGED, 0, (LPARAM)m_hWnd);
    return FromHandle(hOld);
}

CWnd* CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}

CWnd* CWnd::SetFocus() {
    CWindowManager& m = Manager();
    HWND hOld = m.m_hFocus;
    if (hOld == m_hWnd || !Record())
        return FromHandle(hOld);
    m.m_hFocus = m_hWnd;
    if (hOld)
        ::SendMessage(hOld, WM_KILLFOCUS, (WPARAM)m_hWnd, 0);
    if (m.m_hFocus == m_hWnd)
        SendMessage(WM_SETFOCUS, (WPARAM)hOld, 0);
    return FromHandle(hOld);
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

CWnd* CWnd::GetActiveWindow() {
    return FromHandle(Manager().m_hActive);
}

BOOL ReleaseCapture() {
    CWindowManager& m = Manager();
    HWND hOld = m.m_hCapture;
    if (!hOld)
        return TRUE;
    m.m_hCapture = nullptr;
    ::SendMessage(hOld, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    CWindowManager& m = Manager();
    return m.Find(m.m_hCapture) ? m.m_hCapture : nullptr;
}

HWND GetFocus() {
    CWindowManager& m = Manager();
    return m.Find(m.m_hFocus) ? m.m_hFocus : nullptr;
}
