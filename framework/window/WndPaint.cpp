#include "framework/backend/Backend.h"
#include "framework/backend/ScreenScale.h"
#include "framework/gdi/DC.h"
#include "framework/window/WindowManager.h"
#include "framework/window/WindowPainter.h"
#include "framework/window/Wnd.h"

namespace {
CWindowRecord* Find(HWND hWnd) {
    return CWindowManager::Get().Find(hWnd);
}

CWindowPainter& Painter() {
    return CWindowPainter::Get();
}

CRect ClientToScreenRect(CWindowRecord* pRec, LPCRECT lpRect) {
    CRect rcClient = pRec->ClientScreenRect();
    if (!lpRect)
        return rcClient;
    CRect rc(*lpRect);
    rc.OffsetRect(rcClient.left, rcClient.top);
    return rc;
}

// A context on the whole screen, for code that asks for the desktop's.
HDC ScreenDC() {
    CBackend* pBackend = AfxGetBackend();
    if (!pBackend)
        return nullptr;
    const CSize size = AfxGetScreenSize();
    return AfxCreateSurfaceDC(&pBackend->GetSurface(), CPoint(0, 0), CRect(0, 0, size.cx, size.cy),
                              AfxGetScreenScale());
}
} // namespace

void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* /*prgnUpdate*/, UINT flags) {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return FALSE;
    CWindowPainter::CHILDREN children = (flags & RDW_ALLCHILDREN) ? CWindowPainter::CHILDREN_ALL
                                        : (flags & RDW_NOCHILDREN)
                                            ? CWindowPainter::CHILDREN_NONE
                                            : CWindowPainter::CHILDREN_DEFAULT;
    if (flags & RDW_INVALIDATE) {
        CRect rcScreen = (flags & RDW_FRAME) && !lpRectUpdate
                             ? pRec->ScreenRect()
                             : ClientToScreenRect(pRec, lpRectUpdate);
        Painter().InvalidateScreen(pRec, rcScreen, (flags & RDW_ERASE) != 0, children);
        if ((flags & RDW_FRAME) && pRec->IsVisible())
            pRec->bFrameDirty = true;
    } else if (flags & RDW_VALIDATE) {
        Painter().Validate(pRec, (const CRect*)lpRectUpdate);
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        if (children == CWindowPainter::CHILDREN_NONE) {
            Painter().PaintWindow(m_hWnd);
        } else {
            Painter().PaintTree(m_hWnd, children == CWindowPainter::CHILDREN_ALL);
        }
    }
    return TRUE;
}

void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT /*lpRect*/, LPCRECT /*lpClipRect*/) {
    CWindowRecord* pRec = Record();
    if (!pRec || (xAmount == 0 && yAmount == 0))
        return;
    for (CWindowRecord* pChild : pRec->children)
        pChild->rcWindow.OffsetRect(xAmount, yAmount);
    // The whole client repaints rather than moving pixels: children move with it.
    Painter().InvalidateScreen(pRec, pRec->ClientScreenRect(), true, CWindowPainter::CHILDREN_ALL);
}

CDC* CWnd::GetDC() {
    HDC hdc = ::GetDC(m_hWnd);
    return hdc ? CDC::FromHandle(hdc) : nullptr;
}

CDC* CWnd::GetWindowDC() {
    HDC hdc = ::GetWindowDC(m_hWnd);
    return hdc ? CDC::FromHandle(hdc) : nullptr;
}

int CWnd::ReleaseDC(CDC* pDC) {
    return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) {
    HDC hdc = ::BeginPaint(m_hWnd, lpPaint);
    return hdc ? CDC::FromHandle(hdc) : nullptr;
}

void CWnd::EndPaint(const PAINTSTRUCT* lpPaint) {
    ::EndPaint(m_hWnd, lpPaint);
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    *lpPaint = PAINTSTRUCT{};
    CWindowRecord* pRec = Find(hWnd);
    if (!pRec)
        return nullptr;
    CRect rcPaint = pRec->rcUpdate;
    bool bErase = pRec->bErase;
    Painter().Validate(pRec, nullptr);
    CRect rcScreen = ClientToScreenRect(pRec, &rcPaint);
    HDC hdc = Painter().CreateDC(pRec, CWindowPainter::DC_CLIENT, &rcScreen);
    lpPaint->hdc = hdc;
    lpPaint->rcPaint = rcPaint;
    if (bErase && hdc)
        lpPaint->fErase = !::SendMessage(hWnd, WM_ERASEBKGND, (WPARAM)hdc, 0);
    return hdc;
}

BOOL EndPaint(HWND /*hWnd*/, const PAINTSTRUCT* lpPaint) {
    return lpPaint && lpPaint->hdc ? Painter().ReleaseDC(lpPaint->hdc) : FALSE;
}

HDC GetDC(HWND hWnd) {
    if (!hWnd)
        return ScreenDC();
    CWindowRecord* pRec = Find(hWnd);
    return pRec ? Painter().CreateDC(pRec, CWindowPainter::DC_CLIENT, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hWnd) {
    if (!hWnd)
        return ScreenDC();
    CWindowRecord* pRec = Find(hWnd);
    return pRec ? Painter().CreateDC(pRec, CWindowPainter::DC_WINDOW, nullptr) : nullptr;
}

int ReleaseDC(HWND /*hWnd*/, HDC hDC) {
    if (!hDC)
        return 0;
    if (Painter().ReleaseDC(hDC))
        return 1;
    // A desktop context: nothing of a window to put back, but its pixels may have changed.
    CWindowPainter::Get().AddChanged(AfxGetSurfaceClip(hDC));
    return ::DeleteDC(hDC);
}

BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase) {
    CWindowRecord* pRec = Find(hWnd);
    if (!pRec)
        return FALSE;
    Painter().InvalidateScreen(pRec, ClientToScreenRect(pRec, lpRect), bErase != FALSE,
                               CWindowPainter::CHILDREN_DEFAULT);
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
    if (!Find(hWnd))
        return FALSE;
    Painter().PaintWindow(hWnd);
    return TRUE;
}
