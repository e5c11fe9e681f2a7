// The state behind an HDC (framework/gdi only): where its pixels land, how logical
// coordinates map to them, the clip, the selected objects, colours and modes, and the stack
// that SaveDC and RestoreDC work on. All drawing goes through ToSurface and Clip, so nothing
// lands outside the clip or the surface, whatever the coordinates.
#pragma once

#include <memory>
#include <vector>

#include "framework/gdi/DeviceScale.h"
#include "framework/gdi/GdiObjectData.h"

// What SaveDC saves. The clip and brush origin are in surface pixels.
struct DC_ATTRIBUTES {
    CPoint ptWindowOrg;      // logical point shown at device (0, 0)
    CRect rcClip;            // within the context's base clip
    HPEN hPen = nullptr;     // null: the stock black pen
    HBRUSH hBrush = nullptr; // null: the stock white brush
    HFONT hFont = nullptr;   // null: the default font (the font engine's choice)
    HBITMAP hBitmap = nullptr;
    COLORREF crText = RGB(0, 0, 0);
    COLORREF crBk = RGB(255, 255, 255);
    int nBkMode = OPAQUE;
    int nStretchMode = BLACKONWHITE;
    CPoint ptBrushOrg; // device pixels
    CPoint ptCurrent;  // logical pen position
};

class CDCState {
public:
    // A context on a caller's surface (a window's), or a memory one (target null) that draws
    // on the bitmap selected into it. The origin and clip are in layout pixels of the surface:
    // `scale` maps them, and everything drawn, to its pixels. A memory context takes the scale
    // of the bitmap selected into it.
    CDCState(CSurface* pTarget, CPoint ptOrigin, const CRect& rcClip,
             const CDeviceScale& scale = CDeviceScale());
    ~CDCState();
    CDCState(const CDCState&) = delete;
    CDCState& operator=(const CDCState&) = delete;

    bool IsMemory() const { return m_pTarget == nullptr; }
    // The pixels drawing lands on; invalid for a memory context without a 32-bit bitmap.
    const CSurface& Surface() const { return m_surface; }
    // Logical to layout pixels of the surface (its pixels before the scale). Far-off
    // coordinates are pulled in to ±2^29, beyond any surface, so that sizes and offsets added
    // later cannot overflow.
    CPoint ToLayout(int x, int y) const {
        return CPoint(Limit((int64_t)x - m_attr.ptWindowOrg.x + m_ptOrigin.x),
                      Limit((int64_t)y - m_attr.ptWindowOrg.y + m_ptOrigin.y));
    }
    CRect ToLayout(const RECT& r) const;
    // Logical to surface pixels.
    CPoint ToSurface(int x, int y) const {
        const CPoint p = ToLayout(x, y);
        return CPoint(Limit(m_scale.ToDevice(p.x)), Limit(m_scale.ToDevice(p.y)));
    }
    CRect ToSurface(const RECT& r) const;
    const CDeviceScale& Scale() const { return m_scale; }
    static int Limit(int64_t v) {
        const int64_t far = int64_t(1) << 29;
        return (int)(v < -far ? -far : v > far ? far : v);
    }
    // The logical rectangle whose pixels cover a rectangle of surface pixels.
    CRect ToLogicalCover(const RECT& rcSurface) const {
        CRect rc = m_scale.ToLayoutCover(rcSurface);
        rc.OffsetRect(m_attr.ptWindowOrg.x - m_ptOrigin.x, m_attr.ptWindowOrg.y - m_ptOrigin.y);
        return rc;
    }
    // Where drawing may land, in surface pixels: the clip cut to the surface (maybe empty).
    const CRect& Clip() const { return m_rcDrawable; }

    const DC_ATTRIBUTES& Attributes() const { return m_attr; }
    DC_ATTRIBUTES& Attributes() { return m_attr; }
    // The context's device point (0, 0) in layout pixels of the surface.
    CPoint Origin() const { return m_ptOrigin; }

    // Selects an object of its kind and returns the previous one (null handle on failure).
    HGDIOBJ Select(HGDIOBJ h);
    void IntersectClip(const CRect& rcSurface);
    int Save();
    bool Restore(int nSaved);

    // The selected brush and pen objects (the stock ones when none is selected).
    const CBrushData* Brush() const;
    const CPenData* Pen() const;
    CBitmapData* Bitmap() const;

private:
    void Retain(const DC_ATTRIBUTES& a);
    void Release(const DC_ATTRIBUTES& a);
    void UpdateSurface();

    CSurface* m_pTarget;
    CPoint m_ptOrigin;
    CDeviceScale m_scale;
    CRect m_rcBase; // the clip given at creation (a memory context: its bitmap's bounds)
    CSurface m_surface;
    CRect m_rcDrawable;
    DC_ATTRIBUTES m_attr;
    std::vector<DC_ATTRIBUTES> m_saved;
};

// Registers a context and returns its handle; the registry owns it until AfxRemoveDCState.
HDC AfxAddDCState(std::unique_ptr<CDCState> pState);
// The state behind a context handle, or null for a null, deleted or foreign handle.
CDCState* AfxGetDCState(HDC hdc);
BOOL AfxRemoveDCState(HDC hdc);
