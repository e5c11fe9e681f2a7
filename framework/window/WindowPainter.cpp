#include "framework/window/WindowPainter.h"

#include <cstring>

#include "framework/backend/Backend.h"
#include "framework/backend/ScreenScale.h"
#include "framework/gdi/DC.h"
#include "framework/window/RectList.h"
#include "framework/window/WindowManager.h"
#include "framework/window/Wnd.h"

namespace {
// Painting a window may create, destroy or invalidate others; a few passes settle it, and a
// window that keeps invalidating itself waits for the next turn.
const int MAX_PAINT_PASSES = 4;

CRect Intersection(const CRect& a, const CRect& b) {
    CRect rc;
    rc.IntersectRect(a, b);
    return rc;
}

CSurface& ScreenSurface() {
    static uint32_t s_pixel;
    static CSurface s_none{&s_pixel, 1, 1, 1};
    CBackend* pBackend = AfxGetBackend();
    return pBackend ? pBackend->GetSurface() : s_none;
}
} // namespace

CWindowPainter& CWindowPainter::Get() {
    static CWindowPainter s_painter;
    return s_painter;
}

void CWindowPainter::InvalidateScreen(CWindowRecord* pRec, const CRect& rcScreen, bool bErase,
                                      CHILDREN children) {
    if (!pRec->IsVisible() || rcScreen.IsRectEmpty())
        return;
    CRect rcWindow = pRec->ScreenRect();
    CRect rcClient = pRec->ClientScreenRect();
    CRect rcPart;
    if (rcPart.IntersectRect(rcScreen, rcClient)) {
        rcPart.OffsetRect(-rcClient.left, -rcClient.top);
        pRec->rcUpdate.UnionRect(pRec->rcUpdate, rcPart);
        pRec->bErase = pRec->bErase || bErase;
    }
    if (rcClient != rcWindow && rcPart.IntersectRect(rcScreen, rcWindow)) {
        CRect rcInside;
        if (!rcInside.IntersectRect(rcScreen, rcClient) || rcInside != rcPart) {
            pRec->bFrameDirty = true;
        }
    }
    bool bChildren = children == CHILDREN_ALL ||
                     (children == CHILDREN_DEFAULT && !pRec->HasStyle(WS_CLIPCHILDREN));
    if (!bChildren)
        return;
    CRect rcChildArea;
    if (!rcChildArea.IntersectRect(rcScreen, rcClient))
        return;
    for (CWindowRecord* pChild : pRec->children) {
        InvalidateScreen(pChild, rcChildArea, bErase, children);
    }
}

void CWindowPainter::InvalidateAll(CWindowRecord* pRec) {
    if (!pRec->IsVisible())
        return;
    pRec->bFrameDirty = true;
    InvalidateScreen(pRec, pRec->ScreenRect(), true, CHILDREN_ALL);
}

void CWindowPainter::InvalidateBeneath(CWindowRecord* pRec, const CRect& rcScreen) {
    for (CWindowRecord* pOther : CWindowManager::Get().PaintOrder(true)) {
        if (pOther == pRec)
            break;
        if (pOther->IsVisible())
            InvalidateScreen(pOther, rcScreen, true, CHILDREN_NONE);
    }
}

void CWindowPainter::Validate(CWindowRecord* pRec, const CRect* pClient) {
    if (!pClient ||
        (pClient->left <= pRec->rcUpdate.left && pClient->top <= pRec->rcUpdate.top &&
         pClient->right >= pRec->rcUpdate.right && pClient->bottom >= pRec->rcUpdate.bottom)) {
        pRec->rcUpdate.SetRectEmpty();
        pRec->bErase = false;
    }
    // A partly validated area stays whole: one rectangle per window cannot hold the rest.
}

bool CWindowPainter::NeedsPaint(const CWindowRecord* pRec) const {
    return pRec->bFrameDirty || !pRec->rcUpdate.IsRectEmpty();
}

bool CWindowPainter::HasPendingPaint() const {
    for (CWindowRecord* pRec : CWindowManager::Get().PaintOrder(true)) {
        if (NeedsPaint(pRec) && pRec->IsVisible())
            return true;
    }
    return false;
}

void CWindowPainter::PaintAll() {
    CWindowManager& manager = CWindowManager::Get();
    for (int pass = 0; pass < MAX_PAINT_PASSES; ++pass) {
        std::vector<HWND> waiting;
        for (CWindowRecord* pRec : manager.PaintOrder(true)) {
            if (NeedsPaint(pRec))
                waiting.push_back(pRec->hWnd);
        }
        if (waiting.empty())
            return;
        for (HWND hWnd : waiting)
            PaintWindow(hWnd);
    }
}

void CWindowPainter::PaintWindow(HWND hWnd) {
    CWindowManager& manager = CWindowManager::Get();
    CWindowRecord* pRec = manager.Find(hWnd);
    if (!pRec || !pRec->IsVisible())
        return;
    if (pRec->bFrameDirty) {
        pRec->bFrameDirty = false;
        ::SendMessage(hWnd, WM_NCPAINT, 1, 0);
    }
    pRec = manager.Find(hWnd);
    if (!pRec || pRec->rcUpdate.IsRectEmpty())
        return;
    ::SendMessage(hWnd, WM_PAINT, 0, 0);
    // A handler that never began painting must not be asked again and again.
    if ((pRec = manager.Find(hWnd)) != nullptr)
        Validate(pRec, nullptr);
}

void CWindowPainter::PaintTree(HWND hWnd, bool bAllChildren) {
    CWindowRecord* pRec = CWindowManager::Get().Find(hWnd);
    if (!pRec)
        return;
    std::vector<HWND> children;
    if (bAllChildren || !pRec->HasStyle(WS_CLIPCHILDREN)) {
        for (auto it = pRec->children.rbegin(); it != pRec->children.rend(); ++it) {
            children.push_back((*it)->hWnd);
        }
    }
    PaintWindow(hWnd);
    for (HWND hChild : children)
        PaintTree(hChild, bAllChildren);
}

HDC CWindowPainter::CreateDC(CWindowRecord* pRec, DC_KIND kind, const CRect* pClipScreen) {
    CRect rcClip = pRec->VisibleScreenRect(kind == DC_CLIENT);
    if (pClipScreen)
        rcClip.IntersectRect(rcClip, *pClipScreen);
    SCREEN_DC dc;
    dc.rcClip = rcClip;
    dc.nArenaStart = m_nArenaUsed;
    if (!rcClip.IsRectEmpty()) {
        CWindowRecord* pTop = pRec->TopLevel();
        for (CWindowRecord* pAbove : CWindowManager::Get().TopLevel()) {
            if (pAbove == pTop)
                break;
            if (pAbove->IsVisible())
                Save(Intersection(pAbove->ScreenRect(), rcClip), dc.saved);
        }
        if (kind == DC_CLIENT && pRec->HasStyle(WS_CLIPCHILDREN)) {
            for (CWindowRecord* pChild : pRec->children) {
                if (pChild->IsVisible())
                    Save(Intersection(pChild->ScreenRect(), rcClip), dc.saved);
            }
        }
    }
    dc.nArenaEnd = m_nArenaUsed;
    CPoint ptOrigin =
        kind == DC_CLIENT ? pRec->ClientScreenRect().TopLeft() : pRec->ScreenRect().TopLeft();
    HDC hdc = AfxCreateSurfaceDC(&ScreenSurface(), ptOrigin, rcClip, AfxGetScreenScale());
    if (hdc)
        m_dcs[hdc] = std::move(dc);
    return hdc;
}

BOOL CWindowPainter::ReleaseDC(HDC hdc) {
    auto it = m_dcs.find(hdc);
    if (it == m_dcs.end())
        return FALSE;
    Restore(it->second.saved);
    AddChanged(it->second.rcClip);
    if (it->second.nArenaEnd == m_nArenaUsed)
        m_nArenaUsed = it->second.nArenaStart;
    m_dcs.erase(it);
    if (m_dcs.empty())
        m_nArenaUsed = 0;
    ::DeleteDC(hdc);
    return TRUE;
}

void CWindowPainter::Save(const CRect& rc, std::vector<SAVED_BLOCK>& saved) {
    CSurface& surface = ScreenSurface();
    CRect rcBlock;
    if (!rcBlock.IntersectRect(AfxGetScreenScale().ToDevice(rc), surface.Bounds()))
        return;
    size_t nWidth = (size_t)rcBlock.Width();
    size_t nSize = nWidth * rcBlock.Height();
    if (m_arena.size() < m_nArenaUsed + nSize)
        m_arena.resize(m_nArenaUsed + nSize);
    SAVED_BLOCK block{rcBlock, m_nArenaUsed};
    m_nArenaUsed += nSize;
    uint32_t* pOut = &m_arena[block.nOffset];
    for (int y = rcBlock.top; y < rcBlock.bottom; ++y, pOut += nWidth) {
        std::memcpy(pOut, surface.Row(y) + rcBlock.left, sizeof(uint32_t) * nWidth);
    }
    saved.push_back(block);
}

void CWindowPainter::Restore(const std::vector<SAVED_BLOCK>& saved) {
    CSurface& surface = ScreenSurface();
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        const CRect& rc = it->rc;
        size_t nWidth = (size_t)rc.Width();
        const uint32_t* pIn = &m_arena[it->nOffset];
        for (int y = rc.top; y < rc.bottom; ++y, pIn += nWidth) {
            std::memcpy(surface.Row(y) + rc.left, pIn, sizeof(uint32_t) * nWidth);
        }
    }
}

void CWindowPainter::AddChanged(const CRect& rcScreen) {
    if (!rcScreen.IsRectEmpty())
        m_changed.push_back(AfxGetScreenScale().ToDevice(rcScreen));
}

void CWindowPainter::Present() {
    CBackend* pBackend = AfxGetBackend();
    if (!pBackend || !HasChanges())
        return;
    if (m_bPresentAll) {
        CSize size = pBackend->GetScreenSize();
        m_changed.assign(1, CRect(0, 0, size.cx, size.cy));
    }
    AfxMergeRects(m_changed);
    std::vector<CRect> changed;
    changed.swap(m_changed);
    m_bPresentAll = false;
    if (!changed.empty())
        pBackend->Present(changed);
}
