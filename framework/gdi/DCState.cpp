#include "framework/gdi/DCState.h"

#include <climits>
#include <unordered_map>

namespace {

// A memory context's own clip never limits it: its bitmap's bounds do.
const CRect kUnlimited(INT_MIN / 4, INT_MIN / 4, INT_MAX / 4, INT_MAX / 4);

// Never destroyed: contexts owned by statics elsewhere may still be deleted during exit.
std::unordered_map<CDCState*, std::unique_ptr<CDCState>>& Registry() {
    static auto* registry = new std::unordered_map<CDCState*, std::unique_ptr<CDCState>>;
    return *registry;
}

} // namespace

CDCState::CDCState(CSurface* pTarget, CPoint ptOrigin, const CRect& rcClip,
                   const CDeviceScale& scale)
    : m_pTarget(pTarget), m_ptOrigin(ptOrigin), m_scale(scale),
      m_rcBase(pTarget ? scale.ToDevice(rcClip) : kUnlimited) {
    m_attr.rcClip = m_rcBase;
    m_attr.hPen = (HPEN)GetStockObject(BLACK_PEN);
    m_attr.hBrush = (HBRUSH)GetStockObject(WHITE_BRUSH);
    m_attr.hFont = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    if (!pTarget)
        m_attr.hBitmap = (HBITMAP)GetStockObject(STOCK_DEFAULT_BITMAP);
    Retain(m_attr);
    UpdateSurface();
}

CDCState::~CDCState() {
    Release(m_attr);
    for (const DC_ATTRIBUTES& a : m_saved)
        Release(a);
}

CRect CDCState::ToLayout(const RECT& r) const {
    const CPoint tl = ToLayout(r.left, r.top), br = ToLayout(r.right, r.bottom);
    return CRect(tl.x, tl.y, br.x, br.y);
}

CRect CDCState::ToSurface(const RECT& r) const {
    const CPoint tl = ToSurface(r.left, r.top), br = ToSurface(r.right, r.bottom);
    return CRect(tl.x, tl.y, br.x, br.y);
}

void CDCState::Retain(const DC_ATTRIBUTES& a) {
    AfxRetainGdiObject((HGDIOBJ)a.hPen);
    AfxRetainGdiObject((HGDIOBJ)a.hBrush);
    AfxRetainGdiObject((HGDIOBJ)a.hFont);
    AfxRetainGdiObject((HGDIOBJ)a.hBitmap);
}

void CDCState::Release(const DC_ATTRIBUTES& a) {
    AfxReleaseGdiObject((HGDIOBJ)a.hPen);
    AfxReleaseGdiObject((HGDIOBJ)a.hBrush);
    AfxReleaseGdiObject((HGDIOBJ)a.hFont);
    AfxReleaseGdiObject((HGDIOBJ)a.hBitmap);
}

void CDCState::UpdateSurface() {
    if (m_pTarget) {
        m_surface = *m_pTarget;
    } else {
        CBitmapData* bm = Bitmap();
        m_surface = bm ? bm->AsSurface() : CSurface();
        m_scale = bm ? bm->m_scale : CDeviceScale();
    }
    if (!m_surface.IsValid() || !m_rcDrawable.IntersectRect(m_attr.rcClip, m_surface.Bounds()))
        m_rcDrawable.SetRectEmpty();
}

HGDIOBJ CDCState::Select(HGDIOBJ h) {
    CGdiObjectData* p = AfxGetGdiObject(h);
    if (!p || p->m_bDeletePending)
        return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (p->m_nKind) {
    case OBJ_PEN:
        slot = (HGDIOBJ*)&m_attr.hPen;
        break;
    case OBJ_BRUSH:
        slot = (HGDIOBJ*)&m_attr.hBrush;
        break;
    case OBJ_FONT:
        slot = (HGDIOBJ*)&m_attr.hFont;
        break;
    case OBJ_BITMAP:
        if (!IsMemory())
            return nullptr; // bitmaps go only into memory contexts
        slot = (HGDIOBJ*)&m_attr.hBitmap;
        break;
    default:
        return nullptr;
    }
    HGDIOBJ old = *slot;
    AfxRetainGdiObject(h);
    *slot = h;
    if (p->m_nKind == OBJ_BITMAP)
        UpdateSurface();
    // Released last: the old object may go now, and the caller gets a handle it can no
    // longer use only if it had deleted that object itself.
    AfxReleaseGdiObject(old);
    return AfxGetGdiObject(old) ? old : nullptr;
}

void CDCState::IntersectClip(const CRect& rcSurface) {
    m_attr.rcClip.IntersectRect(m_attr.rcClip, rcSurface);
    UpdateSurface();
}

int CDCState::Save() {
    m_saved.push_back(m_attr);
    Retain(m_attr);
    return (int)m_saved.size();
}

bool CDCState::Restore(int nSaved) {
    const int size = (int)m_saved.size();
    const int index = nSaved > 0 ? nSaved - 1 : size + nSaved;
    if (nSaved == 0 || index < 0 || index >= size)
        return false;
    Release(m_attr);
    m_attr = m_saved[(size_t)index];
    for (int i = index + 1; i < size; ++i)
        Release(m_saved[(size_t)i]);
    m_saved.resize((size_t)index);
    UpdateSurface();
    return true;
}

const CBrushData* CDCState::Brush() const {
    return AfxGetGdiObject<CBrushData>((HGDIOBJ)m_attr.hBrush, OBJ_BRUSH);
}

const CPenData* CDCState::Pen() const {
    return AfxGetGdiObject<CPenData>((HGDIOBJ)m_attr.hPen, OBJ_PEN);
}

CBitmapData* CDCState::Bitmap() const {
    return AfxGetGdiObject<CBitmapData>((HGDIOBJ)m_attr.hBitmap, OBJ_BITMAP);
}

HDC AfxAddDCState(std::unique_ptr<CDCState> pState) {
    CDCState* p = pState.get();
    Registry()[p] = std::move(pState);
    return reinterpret_cast<HDC>(p);
}

CDCState* AfxGetDCState(HDC hdc) {
    if (!hdc)
        return nullptr;
    auto it = Registry().find(reinterpret_cast<CDCState*>(hdc));
    return it == Registry().end() ? nullptr : it->second.get();
}

BOOL AfxRemoveDCState(HDC hdc) {
    return Registry().erase(reinterpret_cast<CDCState*>(hdc)) ? TRUE : FALSE;
}
