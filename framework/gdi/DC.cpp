// CDC's state, fill, line and copy calls. Each drawing call has the same shape: find the state,
// turn logical coordinates into surface pixels, cut to the clip, return when nothing is left,
// then run the pixel loop of Raster.cpp or Blit.cpp.
#include "framework/gdi/DC.h"

#include <algorithm>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "framework/gdi/Blit.h"
#include "framework/gdi/DCState.h"
#include "framework/gdi/Raster.h"

namespace {

// FromHandle's wrappers, kept until their context is deleted (the map itself never is: see
// the registries).
std::unordered_map<HDC, std::unique_ptr<CDC>>& Wrappers() {
    static auto* wrappers = new std::unordered_map<HDC, std::unique_ptr<CDC>>;
    return *wrappers;
}

// Gives one attribute of the context a new value and returns the old one; a handle that is
// no context changes nothing and gives the attribute type's zero.
template <class T>
T ExchangeAttribute(HDC hDC, T DC_ATTRIBUTES::*pField, typename std::decay<T>::type value) {
    CDCState* dc = AfxGetDCState(hDC);
    return dc ? std::exchange(dc->Attributes().*pField, value) : T();
}

template <class T> T ReadAttribute(HDC hDC, T DC_ATTRIBUTES::*pField) {
    CDCState* dc = AfxGetDCState(hDC);
    return dc ? dc->Attributes().*pField : T();
}

// The rectangle at (x, y) of that size (negative sizes extend left and up), in logical
// coordinates cut to ±2^29 so that its far edge cannot overflow.
CRect RectOfSize(int x, int y, int width, int height) {
    const int r = CDCState::Limit((int64_t)x + width), b = CDCState::Limit((int64_t)y + height);
    x = CDCState::Limit(x), y = CDCState::Limit(y);
    return CRect(x < r ? x : r, y < b ? y : b, x < r ? r : x, y < b ? b : y);
}

// The pixels of a level or upright line from `from` up to, not including, `to`.
CRect LinePixels(CPoint from, CPoint to) {
    if (from.y == to.y)
        return from.x <= to.x ? CRect(from.x, from.y, to.x, from.y + 1)
                              : CRect(to.x + 1, from.y, from.x + 1, from.y + 1);
    return from.y <= to.y ? CRect(from.x, from.y, from.x + 1, to.y)
                          : CRect(from.x, to.y + 1, from.x + 1, from.y + 1);
}

// The clip cut to a rectangle in surface pixels; empty when they do not meet.
CRect Visible(const CDCState& dc, const CRect& rcSurface) {
    CRect vis;
    vis.IntersectRect(dc.Clip(), rcSurface);
    return vis;
}

BRUSH_PAINT PaintOf(const CDCState& dc, const CBrushData* pBrush) {
    BRUSH_PAINT paint;
    paint.pBrush = pBrush;
    paint.text = PixelFromColor(dc.Attributes().crText);
    paint.bk = PixelFromColor(dc.Attributes().crBk);
    // Patterns line up with the context's device origin, as on the platform.
    paint.origin = dc.Scale().ToDevice(dc.Origin()) + dc.Attributes().ptBrushOrg;
    return paint;
}

void PatBltSurface(CDCState& dc, const CRect& rcSurface, const CBrushData* pBrush, DWORD rop) {
    const CRect vis = Visible(dc, rcSurface);
    if (vis.IsRectEmpty())
        return;
    RasterPatBlt(dc.Surface(), vis, PaintOf(dc, pBrush), rop);
}

const CBrushData* BrushOf(CBrush* pBrush) {
    return pBrush ? AfxGetGdiObject<CBrushData>(pBrush->m_hObject, OBJ_BRUSH) : nullptr;
}

bool SourceOf(CDC* pSrcDC, BLIT_SOURCE& source, CDCState*& srcState) {
    srcState = pSrcDC ? AfxGetDCState(pSrcDC->m_hDC) : nullptr;
    if (!srcState)
        return false;
    if (srcState->IsMemory()) {
        source.pBitmap = srcState->Bitmap();
        return source.pBitmap != nullptr;
    }
    source.surface = srcState->Surface();
    return source.surface.IsValid();
}

// A wrapper for whatever the context held before a selection.
template <class T> T* WrapperOf(HGDIOBJ h, int kind) {
    return static_cast<T*>(AfxGetGdiWrapper(h, kind));
}

// The surface pixel under logical (x, y); null outside the clip or for no context.
uint32_t* ClippedPixel(HDC hDC, int x, int y) {
    CDCState* dc = AfxGetDCState(hDC);
    if (!dc)
        return nullptr;
    const CPoint p = dc->ToSurface(x, y);
    return dc->Clip().PtInRect(p) ? &dc->Surface().Row(p.y)[p.x] : nullptr;
}

// The wrapper of the object of that kind selected into the context; null for no context.
template <class T, class HANDLE_TYPE>
T* SelectedObject(HDC hDC, HANDLE_TYPE DC_ATTRIBUTES::*pField, int kind) {
    CDCState* dc = AfxGetDCState(hDC);
    return dc ? WrapperOf<T>((HGDIOBJ)(dc->Attributes().*pField), kind) : nullptr;
}

} // namespace

HDC AfxCreateSurfaceDC(CSurface* target, CPoint origin, const CRect& clip,
                       const CDeviceScale& scale) {
    if (!target)
        return nullptr;
    CRect rc;
    rc.IntersectRect(clip, scale.ToLayoutCover(target->Bounds()));
    return AfxAddDCState(std::make_unique<CDCState>(target, origin, rc, scale));
}

CPoint AfxGetSurfaceOrigin(HDC hdc) {
    CDCState* dc = AfxGetDCState(hdc);
    return dc ? dc->Origin() : CPoint();
}

CRect AfxGetSurfaceClip(HDC hdc) {
    CDCState* dc = AfxGetDCState(hdc);
    return dc ? dc->Scale().ToLayoutCover(dc->Clip()) : CRect();
}

HDC CreateCompatibleDC(HDC hdc) {
    (void)hdc; // every context draws 32-bit pixels
    return AfxAddDCState(std::make_unique<CDCState>(nullptr, CPoint(), CRect()));
}

BOOL DeleteDC(HDC hdc) {
    if (!AfxGetDCState(hdc))
        return FALSE;
    auto it = Wrappers().find(hdc);
    if (it != Wrappers().end()) {
        it->second->m_hDC = nullptr;
        Wrappers().erase(it);
    }
    return AfxRemoveDCState(hdc);
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    CDCState* dc = AfxGetDCState(hdc);
    return dc ? dc->Select(h) : nullptr;
}

CDC::~CDC() {
    DeleteDC();
}

BOOL CDC::Attach(HDC hdc) {
    if (!hdc || m_hDC)
        return FALSE;
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    return hdc;
}

CDC* CDC::FromHandle(HDC hdc) {
    if (!AfxGetDCState(hdc))
        return nullptr;
    std::unique_ptr<CDC>& slot = Wrappers()[hdc];
    if (!slot) {
        slot = std::make_unique<CDC>();
        slot->m_hDC = hdc;
    }
    return slot.get();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_hDC)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pPen) {
    return pPen ? WrapperOf<CPen>(SelectObject(pPen->m_hObject), OBJ_PEN) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return pBrush ? WrapperOf<CBrush>(SelectObject(pBrush->m_hObject), OBJ_BRUSH) : nullptr;
}

CFont* CDC::SelectObject(CFont* pFont) {
    return pFont ? WrapperOf<CFont>(SelectObject(pFont->m_hObject), OBJ_FONT) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return pBitmap ? WrapperOf<CBitmap>(SelectObject(pBitmap->m_hObject), OBJ_BITMAP) : nullptr;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    if (!pObject)
        return nullptr;
    return AfxGetGdiWrapper(SelectObject(pObject->m_hObject), 0);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ h) {
    return ::SelectObject(m_hDC, h);
}

CGdiObject* CDC::SelectStockObject(int index) {
    CGdiObject* stock = AfxGetGdiWrapper(GetStockObject(index), 0);
    return SelectObject(stock);
}

int CDC::SaveDC() {
    CDCState* dc = AfxGetDCState(m_hDC);
    return dc ? dc->Save() : 0;
}

BOOL CDC::RestoreDC(int nSavedDC) {
    CDCState* dc = AfxGetDCState(m_hDC);
    return dc && dc->Restore(nSavedDC);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    return ExchangeAttribute(m_hDC, &DC_ATTRIBUTES::ptWindowOrg, CPoint(x, y));
}

CPoint CDC::GetWindowOrg() const {
    return ReadAttribute(m_hDC, &DC_ATTRIBUTES::ptWindowOrg);
}

int CDC::IntersectClipRect(int l, int t, int r, int b) {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc)
        return 0;
    dc->IntersectClip(dc->ToSurface(CRect(l, t, r, b)));
    return dc->Clip().IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::IntersectClipRect(LPCRECT rect) {
    return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : 0;
}

int CDC::GetClipBox(LPRECT rect) const {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc || !rect)
        return 0;
    const CRect& clip = dc->Clip();
    if (clip.IsRectEmpty()) {
        *rect = CRect();
        return NULLREGION;
    }
    *rect = dc->ToLogicalCover(clip);
    return SIMPLEREGION;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return ExchangeAttribute(m_hDC, &DC_ATTRIBUTES::crText, color & 0xFFFFFF);
}

COLORREF CDC::GetTextColor() const {
    return ReadAttribute(m_hDC, &DC_ATTRIBUTES::crText);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return ExchangeAttribute(m_hDC, &DC_ATTRIBUTES::crBk, color & 0xFFFFFF);
}

COLORREF CDC::GetBkColor() const {
    return ReadAttribute(m_hDC, &DC_ATTRIBUTES::crBk);
}

int CDC::SetBkMode(int mode) {
    if (mode != OPAQUE && mode != TRANSPARENT)
        return 0;
    return ExchangeAttribute(m_hDC, &DC_ATTRIBUTES::nBkMode, mode);
}

int CDC::GetBkMode() const {
    return ReadAttribute(m_hDC, &DC_ATTRIBUTES::nBkMode);
}

int CDC::SetStretchBltMode(int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return ExchangeAttribute(m_hDC, &DC_ATTRIBUTES::nStretchMode, mode);
}

int CDC::GetStretchBltMode() const {
    return ReadAttribute(m_hDC, &DC_ATTRIBUTES::nStretchMode);
}

CPoint CDC::SetBrushOrg(int x, int y) {
    return ExchangeAttribute(m_hDC, &DC_ATTRIBUTES::ptBrushOrg, CPoint(x, y));
}

CPen* CDC::GetCurrentPen() const {
    return SelectedObject<CPen>(m_hDC, &DC_ATTRIBUTES::hPen, OBJ_PEN);
}

CBrush* CDC::GetCurrentBrush() const {
    return SelectedObject<CBrush>(m_hDC, &DC_ATTRIBUTES::hBrush, OBJ_BRUSH);
}

CFont* CDC::GetCurrentFont() const {
    return SelectedObject<CFont>(m_hDC, &DC_ATTRIBUTES::hFont, OBJ_FONT);
}

CBitmap* CDC::GetCurrentBitmap() const {
    return SelectedObject<CBitmap>(m_hDC, &DC_ATTRIBUTES::hBitmap, OBJ_BITMAP);
}

void CDC::FillRect(LPCRECT rect, CBrush* pBrush) {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc || !rect)
        return;
    PatBltSurface(*dc, dc->ToSurface(*rect), BrushOf(pBrush), PATCOPY);
}

void CDC::FrameRect(LPCRECT rect, CBrush* pBrush) {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc || !rect || CRect(*rect).IsRectEmpty())
        return;
    const CRect rc = dc->ToSurface(*rect);
    const CBrushData* brush = BrushOf(pBrush);
    // Every side the same whole number of device pixels wide.
    const int w = std::min({dc->Scale().LineWidth(), rc.Width(), rc.Height()});
    PatBltSurface(*dc, CRect(rc.left, rc.top, rc.right, rc.top + w), brush, PATCOPY);
    PatBltSurface(*dc, CRect(rc.left, rc.bottom - w, rc.right, rc.bottom), brush, PATCOPY);
    PatBltSurface(*dc, CRect(rc.left, rc.top + w, rc.left + w, rc.bottom - w), brush, PATCOPY);
    PatBltSurface(*dc, CRect(rc.right - w, rc.top + w, rc.right, rc.bottom - w), brush, PATCOPY);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc || !rect)
        return;
    // Like the framework's own, this leaves the colour as the context's background colour.
    dc->Attributes().crBk = color & 0xFFFFFF;
    CBrushData solid;
    solid.m_color = color & 0xFFFFFF;
    PatBltSurface(*dc, dc->ToSurface(*rect), &solid, PATCOPY);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const CRect rc = RectOfSize(x, y, cx, cy);
    FillSolidRect(&rc, color);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc)
        return FALSE;
    const CRect rc = dc->ToSurface(RectOfSize(x, y, width, height));
    const CRect vis = Visible(*dc, rc);
    if (vis.IsRectEmpty())
        return TRUE;
    return RasterPatBlt(dc->Surface(), vis, PaintOf(*dc, dc->Brush()), rop);
}

CPoint CDC::MoveTo(int x, int y) {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc)
        return CPoint();
    const CPoint old = dc->Attributes().ptCurrent;
    dc->Attributes().ptCurrent = CPoint(x, y);
    return old;
}

BOOL CDC::LineTo(int x, int y) {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc)
        return FALSE;
    const CPoint from = dc->Attributes().ptCurrent;
    dc->Attributes().ptCurrent = CPoint(x, y);
    const CPenData* pen = dc->Pen();
    if (!pen || pen->m_nStyle == PS_NULL || dc->Clip().IsRectEmpty())
        return TRUE;
    // Every pen draws one layout pixel wide: the windows only use width 0.
    const uint32_t pixel = PixelFromColor(pen->m_color);
    if (dc->Scale().IsIdentity()) {
        RasterLine(dc->Surface(), dc->Clip(), dc->ToSurface(from.x, from.y), dc->ToSurface(x, y),
                   pixel);
        return TRUE;
    }
    // On a scaled surface a line is LineWidth() device pixels wide: a level or upright line is
    // a band over the device pixels of its layout pixels, any other a square moved along it.
    const int w = dc->Scale().LineWidth();
    const CPoint a = dc->ToSurface(from.x, from.y), b = dc->ToSurface(x, y);
    if (from.y == y || from.x == x) {
        const CRect rc = dc->ToSurface(LinePixels(from, CPoint(x, y)));
        CBrushData solid;
        solid.m_color = pixel;
        PatBltSurface(*dc,
                      from.y == y ? CRect(rc.left, a.y, rc.right, a.y + w)
                                  : CRect(a.x, rc.top, a.x + w, rc.bottom),
                      &solid, PATCOPY);
        return TRUE;
    }
    for (int dy = 0; dy < w; ++dy)
        for (int dx = 0; dx < w; ++dx)
            RasterLine(dc->Surface(), dc->Clip(), a + CPoint(dx, dy), b + CPoint(dx, dy), pixel);
    return TRUE;
}

CPoint CDC::GetCurrentPosition() const {
    CDCState* dc = AfxGetDCState(m_hDC);
    return dc ? dc->Attributes().ptCurrent : CPoint();
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (!ClippedPixel(m_hDC, x, y))
        return (COLORREF)-1;
    // All the device pixels of the logical one.
    CDCState* dc = AfxGetDCState(m_hDC);
    CBrushData solid;
    solid.m_color = color & 0xFFFFFF;
    PatBltSurface(*dc, dc->ToSurface(CRect(x, y, x + 1, y + 1)), &solid, PATCOPY);
    return color & 0xFFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const {
    const uint32_t* pPixel = ClippedPixel(m_hDC, x, y);
    return pPixel ? ColorFromPixel(*pPixel) : (COLORREF)-1;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc, DWORD rop) {
    CDCState* dc = AfxGetDCState(m_hDC);
    if (!dc)
        return FALSE;
    if (width <= 0 || height <= 0)
        return TRUE;
    const CRect dst = dc->ToSurface(RectOfSize(x, y, width, height));
    BLIT_SOURCE source;
    CDCState* src = nullptr;
    if (!SourceOf(pSrcDC, source, src))
        return PatBlt(x, y, width, height, rop);
    if (Visible(*dc, dst).IsRectEmpty())
        return TRUE;
    const CRect from = src->ToSurface(RectOfSize(xSrc, ySrc, width, height));
    if (from.Size() == dst.Size())
        return RasterBitBlt(dc->Surface(), dc->Clip(), dst, source, from.TopLeft(), rop);
    // Pixels of another scale: a program's bitmap enlarged smoothly, or a bitmap at the same
    // scale whose rounding differs by a pixel, taken as it is.
    const int mode = src->Scale() == dc->Scale() ? COLORONCOLOR : STRETCH_SMOOTH;
    return RasterStretchRop(dc->Surface(), dc->Clip(), dst, source, from, mode, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop) {
    CDCState* dc = AfxGetDCState(m_hDC);
    BLIT_SOURCE source;
    CDCState* src = nullptr;
    // Mirroring (negative sizes) is not needed by any window and is refused.
    if (!dc || rop != SRCCOPY || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0)
        return FALSE;
    if (!SourceOf(pSrcDC, source, src))
        return FALSE;
    const CRect dst = dc->ToSurface(RectOfSize(x, y, width, height));
    if (Visible(*dc, dst).IsRectEmpty())
        return TRUE;
    const CRect from = src->ToSurface(RectOfSize(xSrc, ySrc, srcWidth, srcHeight));
    RasterStretchBlt(dc->Surface(), dc->Clip(), dst, source, from, dc->Attributes().nStretchMode);
    return TRUE;
}
