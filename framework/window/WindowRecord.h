// The window record behind an HWND (framework internal): its place in the tree, its state and
// what waits to be painted. Child rectangles are kept in the parent's client coordinates, so
// that a parent carries its children when it moves.
#pragma once

#include <list>

#include "framework/core/String.h"
#include "framework/window/Messages.h"
#include "framework/window/WindowClass.h"

class CWnd;

class CWindowRecord {
public:
    HWND hWnd = nullptr;
    CWnd* pWnd = nullptr;
    CWindowRecord* pParent = nullptr; // WS_CHILD windows
    CWindowRecord* pOwner = nullptr;  // pop-ups: the top-level window that owns them
    // z-order, topmost first. A list, and each child knows its place in it, so that a window
    // leaves its parent in constant time however many siblings it has.
    std::list<CWindowRecord*> children;
    std::list<CWindowRecord*>::iterator itSibling; // its place among its parent's children
    const WINDOW_CLASS* pClass = nullptr;
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    UINT nID = 0;
    CRect rcWindow; // parent's client coordinates for a child, screen pixels otherwise
    CString strText;
    HFONT hFont = nullptr;
    HICON hIconBig = nullptr;
    HICON hIconSmall = nullptr;
    SCROLLINFO sbHorz{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    SCROLLINFO sbVert{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    // What waits for the next paint, in client coordinates.
    CRect rcUpdate;
    bool bErase = false;
    bool bFrameDirty = false;
    bool bDestroying = false;

    bool IsChild() const { return (dwStyle & WS_CHILD) != 0 && pParent != nullptr; }
    bool HasStyle(DWORD dw) const { return (dwStyle & dw) != 0; }
    CWindowRecord* TopLevel() {
        CWindowRecord* p = this;
        while (p->IsChild())
            p = p->pParent;
        return p;
    }
    SCROLLINFO& Bar(int nBar) { return nBar == SB_HORZ ? sbHorz : sbVert; }

    // Geometry, all in screen pixels.
    CRect ScreenRect() const;
    // The window rectangle without its border and scroll bars.
    CRect ClientScreenRect() const;
    // The part of the screen the window may draw on: its own rectangle cut by every ancestor's
    // client area and the screen; empty when the window or an ancestor is hidden.
    CRect VisibleScreenRect(bool bClientOnly) const;
    bool IsVisible() const;
    bool IsEnabled() const; // neither it nor an ancestor is disabled
    int BorderWidth() const { return HasStyle(WS_BORDER) ? 1 : 0; }
    // The scroll bars' rectangles (empty when not shown) and the corner between them.
    CRect ScrollBarRect(int nBar) const;
};
