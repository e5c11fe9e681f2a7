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

// Scales the source rectangle onto the destination rectangle (both of positive size; the
// source is cut to the source's pixels), touching only pixels within `clip`. HALFTONE takes the
// average of the source area under each target pixel; any other mode the nearest pixel.
void RasterStretchBlt(const CSurface& target, const CRect& clip, const CRect& dst,
                      const BLIT_SOURCE& source, const CRect& src, int mode);
