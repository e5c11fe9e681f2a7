// Painting with the platform's rules on the one screen surface (framework internal): update
// areas per window, erase then paint, parents before children, lower windows before the
// windows above them, and contexts that draw straight on the screen. A context keeps its
// hands off the pop-ups above its window and, for WS_CLIPCHILDREN, off its children: their
// pixels are put back when it is released. What changed is shown once per loop turn.
#pragma once

#include <map>
#include <vector>

#include "framework/window/WindowRecord.h"

class CWindowPainter {
public:
    static CWindowPainter& Get();

    enum CHILDREN { CHILDREN_DEFAULT, CHILDREN_ALL, CHILDREN_NONE };
    // Adds the screen area to the window's update area (and its frame when the area reaches
    // it). Children follow with CHILDREN_ALL, or by default when the window lacks
    // WS_CLIPCHILDREN, as the platform does. Hidden windows gather nothing.
    void InvalidateScreen(CWindowRecord* pRec, const CRect& rcScreen, bool bErase,
                          CHILDREN children);
    // The whole window, frame included, and all its descendants.
    void InvalidateAll(CWindowRecord* pRec);
    // The windows painted before this one (its parent, lower siblings, windows below) repaint
    // the area: it is about to be uncovered.
    void InvalidateBeneath(CWindowRecord* pRec, const CRect& rcScreen);
    void Validate(CWindowRecord* pRec, const CRect* pClient);

    bool NeedsPaint(const CWindowRecord* pRec) const;
    bool HasPendingPaint() const;
    // Paints every window that waits, in painting order.
    void PaintAll();
    // Frame and client of this window only.
    void PaintWindow(HWND hWnd);
    // This window, then the descendants that RedrawWindow's flags include.
    void PaintTree(HWND hWnd, bool bAllChildren);

    enum DC_KIND { DC_CLIENT, DC_WINDOW };
    // A context on the screen; pClipScreen narrows it further (null: the whole area).
    HDC CreateDC(CWindowRecord* pRec, DC_KIND kind, const CRect* pClipScreen);
    // FALSE when the context was not made by CreateDC.
    BOOL ReleaseDC(HDC hdc);

    // Screen coordinates (layout pixels); the backend is shown the device pixels they cover.
    void AddChanged(const CRect& rcScreen);
    void InvalidateDisplay() { m_bPresentAll = true; }
    bool HasChanges() const { return m_bPresentAll || !m_changed.empty(); }
    // Hands the merged changes to the backend.
    void Present();

private:
    CWindowPainter() = default;

    // Saved pixels live in one arena that is reused from context to context (contexts are
    // released in reverse order nearly always; otherwise the space returns when all are).
    struct SAVED_BLOCK {
        CRect rc;
        size_t nOffset;
    };
    struct SCREEN_DC {
        CRect rcClip;
        std::vector<SAVED_BLOCK> saved;
        size_t nArenaStart = 0;
        size_t nArenaEnd = 0;
    };
    void Save(const CRect& rc, std::vector<SAVED_BLOCK>& saved);
    void Restore(const std::vector<SAVED_BLOCK>& saved);

    std::map<HDC, SCREEN_DC> m_dcs;
    std::vector<uint32_t> m_arena;
    size_t m_nArenaUsed = 0;
    std::vector<CRect> m_changed;
    bool m_bPresentAll = false;
};
