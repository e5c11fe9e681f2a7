#include "framework/window/WindowRecord.h"

#include "framework/backend/Backend.h"
#include "framework/backend/ScreenScale.h"

namespace {
const int SCROLLBAR_SIZE = 14;
}

CRect CWindowRecord::ScreenRect() const {
    CRect rc = rcWindow;
    if (IsChild()) {
        CRect rcParent = pParent->ClientScreenRect();
        rc.OffsetRect(rcParent.left, rcParent.top);
    }
    return rc;
}

CRect CWindowRecord::ClientScreenRect() const {
    CRect rc = ScreenRect();
    int border = BorderWidth();
    rc.DeflateRect(border, border);
    if (HasStyle(WS_VSCROLL))
        rc.right -= SCROLLBAR_SIZE;
    if (HasStyle(WS_HSCROLL))
        rc.bottom -= SCROLLBAR_SIZE;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

CRect CWindowRecord::ScrollBarRect(int nBar) const {
    CRect rcClient = ClientScreenRect();
    CRect rc;
    if (nBar == SB_VERT && HasStyle(WS_VSCROLL)) {
        rc.SetRect(rcClient.right, rcClient.top, rcClient.right + SCROLLBAR_SIZE, rcClient.bottom);
    } else if (nBar == SB_HORZ && HasStyle(WS_HSCROLL)) {
        rc.SetRect(rcClient.left, rcClient.bottom, rcClient.right,
                   rcClient.bottom + SCROLLBAR_SIZE);
    }
    return rc;
}

bool CWindowRecord::IsVisible() const {
    for (const CWindowRecord* p = this; p; p = p->IsChild() ? p->pParent : nullptr) {
        if (!p->HasStyle(WS_VISIBLE))
            return false;
    }
    return true;
}

bool CWindowRecord::IsEnabled() const {
    for (const CWindowRecord* p = this; p; p = p->IsChild() ? p->pParent : nullptr) {
        if (p->HasStyle(WS_DISABLED))
            return false;
    }
    return true;
}

CRect CWindowRecord::VisibleScreenRect(bool bClientOnly) const {
    if (!IsVisible())
        return CRect();
    CRect rc = bClientOnly ? ClientScreenRect() : ScreenRect();
    for (const CWindowRecord* p = IsChild() ? pParent : nullptr; p;
         p = p->IsChild() ? p->pParent : nullptr) {
        if (!rc.IntersectRect(rc, p->ClientScreenRect()))
            return CRect();
    }
    if (AfxGetBackend()) {
        const CSize size = AfxGetScreenSize();
        if (!rc.IntersectRect(rc, CRect(0, 0, size.cx, size.cy)))
            return CRect();
    }
    return rc;
}
