// A 32-bit pixel buffer that drawing lands on: the screen, or a bitmap selected into a memory
// device context. Pixels are 0x00RRGGBB, rows top-down, `pitch` counted in pixels.
#pragma once

#include <cstdint>

#include "framework/core/Geometry.h"

struct CSurface {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;

    bool IsValid() const { return pixels != nullptr && width > 0 && height > 0; }
    CRect Bounds() const { return CRect(0, 0, width, height); }
    uint32_t* Row(int y) const { return pixels + (ptrdiff_t)y * pitch; }
};

// COLORREF (0x00BBGGRR) to and from a surface pixel (0x00RRGGBB).
inline uint32_t PixelFromColor(COLORREF c) {
    return ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
}
inline COLORREF ColorFromPixel(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
