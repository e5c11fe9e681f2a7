// Pixel loops for fills, patterns and lines on a 32-bit surface. Every rectangle and clip
// passed in is in surface pixels and already lies within the surface.
#pragma once

#include "framework/gdi/GdiObjectData.h"

// The colours a brush draws with: a solid brush its own, a pattern brush the context's text
// colour for 0 bits and background colour for 1 bits, from `origin` (the pattern's top-left
// in surface pixels) repeating every 8 pixels.
struct BRUSH_PAINT {
    const CBrushData* pBrush = nullptr;
    uint32_t text = 0;
    uint32_t bk = 0xFFFFFF;
    CPoint origin;
};

// Applies a raster operation of the brush and the destination over the rectangle:
// PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS, ROP_DEST_AND_PATTERN, ROP_DEST_OR_PATTERN.
// FALSE for any other operation.
BOOL RasterPatBlt(const CSurface& surface, const CRect& rc, const BRUSH_PAINT& paint, DWORD rop);

// A one-pixel line from `from` to `to` (surface pixels, any size) without its end point,
// touching only pixels inside `clip`.
void RasterLine(const CSurface& surface, const CRect& clip, CPoint from, CPoint to, uint32_t pixel);
