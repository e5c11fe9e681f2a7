// Copying and scaling pixels from a source (a 32-bit surface or a bitmap of any depth) onto a
// 32-bit surface. Rectangles are in pixels of their own side; `clip` lies within the target.
#pragma once

#include "framework/gdi/GdiObjectData.h"

// Where a copy reads: a bitmap (when set) or a 32-bit surface.
struct BLIT_SOURCE {
    const CBitmapData* pBitmap = nullptr;
    CSurface surface;

    int Width() const { return pBitmap ? pBitmap->m_nWidth : surface.width; }
    int Height() const { return pBitmap ? pBitmap->m_nHeight : surface.height; }
};

// Copies the source rectangle of `dst`'s size whose top-left is `src` onto `dst`, combining
// with SRCCOPY, SRCAND, SRCPAINT or SRCINVERT, only where the source has pixels and within
// `clip`. FALSE for another operation.
BOOL RasterBitBlt(const CSurface& target, const CRect& clip, const CRect& dst,
                  const BLIT_SOURCE& source, CPoint src, DWORD rop);

// The stretch mode of the drawing layer's own enlargements (a program's bitmap on a scaled
// screen); no context can select it.
#define STRETCH_SMOOTH (HALFTONE + 1)

// Scales the source rectangle onto the destination rectangle (both of positive size; the
// source is cut to the source's pixels), touching only pixels within `clip`. HALFTONE takes the
// average of the source area under each target pixel; STRETCH_SMOOTH mixes the four source
// pixels around the point under the target pixel's centre; any other mode takes the nearest.
void RasterStretchBlt(const CSurface& target, const CRect& clip, const CRect& dst,
                      const BLIT_SOURCE& source, const CRect& src, int mode);

// RasterStretchBlt combined with the target by a source operation, as RasterBitBlt combines.
BOOL RasterStretchRop(const CSurface& target, const CRect& clip, const CRect& dst,
                      const BLIT_SOURCE& source, const CRect& src, int mode, DWORD rop);

// Scales straight-alpha 0xAARRGGBB pixels (w × h, rows top-down) smoothly onto `dst` and
// blends them over the target, or over `*pUnder` where it is given, within `clip`.
void RasterBlendScaled(const CSurface& target, const CRect& clip, const CRect& dst,
                       const uint32_t* pixels, int w, int h, const uint32_t* pUnder);
