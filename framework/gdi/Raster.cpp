#include "framework/gdi/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/gdi/RasterOps.h"

namespace {

// The brush's eight pixels for one surface row, lined up so that entry (x & 7) is pixel x.
void PatternRow(const BRUSH_PAINT& paint, int y, uint32_t out[8]) {
    const CBrushData& brush = *paint.pBrush;
    if (brush.m_nStyle != BS_PATTERN) {
        std::fill_n(out, 8, PixelFromColor(brush.m_color));
        return;
    }
    const uint8_t bits = brush.m_pattern[(y - paint.origin.y) & 7];
    for (int x = 0; x < 8; ++x) {
        const int column = (x - paint.origin.x) & 7;
        out[x] = (bits >> (7 - column)) & 1 ? paint.bk : paint.text;
    }
}

template <class Op> void Blend(const CSurface& surface, const CRect& rc, const BRUSH_PAINT& paint) {
    uint32_t pattern[8];
    for (int y = rc.top; y < rc.bottom; ++y) {
        PatternRow(paint, y, pattern);
        uint32_t* row = surface.Row(y);
        for (int x = rc.left; x < rc.right; ++x)
            row[x] = Op::Apply(row[x], pattern[x & 7]);
    }
}

void Fill(const CSurface& surface, const CRect& rc, uint32_t pixel) {
    for (int y = rc.top; y < rc.bottom; ++y)
        std::fill(surface.Row(y) + rc.left, surface.Row(y) + rc.right, pixel);
}

bool UsesPattern(DWORD rop) {
    return rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS;
}

} // namespace

BOOL RasterPatBlt(const CSurface& surface, const CRect& rc, const BRUSH_PAINT& paint, DWORD rop) {
    if (UsesPattern(rop) && (!paint.pBrush || paint.pBrush->m_nStyle == BS_NULL))
        return TRUE;
    if (rc.IsRectEmpty())
        return TRUE;
    const bool solid = paint.pBrush && paint.pBrush->m_nStyle == BS_SOLID;
    if (rop == PATCOPY && solid) {
        Fill(surface, rc, PixelFromColor(paint.pBrush->m_color));
        return TRUE;
    }
    if (WithCombiningOp(rop, ROP_PATTERN,
                        [&](auto op) { Blend<decltype(op)>(surface, rc, paint); }))
        return TRUE;
    switch (rop) {
    case DSTINVERT:
        for (int y = rc.top; y < rc.bottom; ++y)
            for (uint32_t* p = surface.Row(y) + rc.left; p < surface.Row(y) + rc.right; ++p)
                *p = ~*p & 0xFFFFFF;
        return TRUE;
    case BLACKNESS:
        Fill(surface, rc, 0);
        return TRUE;
    case WHITENESS:
        Fill(surface, rc, 0xFFFFFF);
        return TRUE;
    }
    return FALSE;
}

namespace {

// Keeps absurd coordinates from overflowing the stepping below: a line far larger than any
// surface is cut to a box around the clip first (its pixels inside the clip barely move).
bool CutToBox(double& x0, double& y0, double& x1, double& y1, const CRect& clip) {
    const double margin = 4096;
    const double left = clip.left - margin, right = clip.right + margin;
    const double top = clip.top - margin, bottom = clip.bottom + margin;
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    x1 = x0 + t1 * dx, y1 = y0 + t1 * dy;
    x0 = nx0, y0 = ny0;
    return true;
}

int64_t FloorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

void RasterLine(const CSurface& surface, const CRect& clip, CPoint from, CPoint to,
                uint32_t pixel) {
    if (clip.IsRectEmpty() || from == to)
        return;
    int64_t x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
    const int64_t limit = int64_t(1) << 24;
    if (std::llabs(x0) > limit || std::llabs(y0) > limit || std::llabs(x1) > limit ||
        std::llabs(y1) > limit) {
        double fx0 = (double)x0, fy0 = (double)y0, fx1 = (double)x1, fy1 = (double)y1;
        if (!CutToBox(fx0, fy0, fx1, fy1, clip))
            return;
        x0 = std::llround(fx0), y0 = std::llround(fy0), x1 = std::llround(fx1),
        y1 = std::llround(fy1);
    }
    const int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t minor = xMajor ? dy : dx;
    const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    // Only the steps whose major coordinate falls inside the clip are visited.
    const int64_t lo = xMajor ? clip.left : clip.top, hi = (xMajor ? clip.right : clip.bottom) - 1;
    const int64_t start = xMajor ? x0 : y0;
    int64_t first = majorStep > 0 ? lo - start : start - hi;
    int64_t last = majorStep > 0 ? hi - start : start - lo;
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, steps - 1);
    for (int64_t i = first; i <= last; ++i) {
        // The minor coordinate rounded to the nearest pixel, halves away from the start.
        const int64_t offset =
            FloorDiv(2 * std::llabs(minor) * i + steps, 2 * steps) * (minor < 0 ? -1 : 1);
        const int64_t x = xMajor ? x0 + majorStep * i : x0 + offset;
        const int64_t y = xMajor ? y0 + offset : y0 + majorStep * i;
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
            surface.Row((int)y)[x] = pixel;
    }
}
