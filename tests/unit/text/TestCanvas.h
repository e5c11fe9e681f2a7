// A small pixel buffer for text tests, with a one-pixel guard band around the part drawing may
// use, so that a write outside the surface shows up as a changed guard pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/gdi/Surface.h"

class CTestCanvas {
public:
    static constexpr uint32_t kGuard = 0x123456;

    CTestCanvas(int width, int height, uint32_t background)
        : m_nStride(width + 2), m_pixels((size_t)(width + 2) * (height + 2), kGuard) {
        m_surface.pixels = m_pixels.data() + m_nStride + 1;
        m_surface.width = width;
        m_surface.height = height;
        m_surface.pitch = m_nStride;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                m_surface.Row(y)[x] = background;
    }

    const CSurface& Surface() const { return m_surface; }
    uint32_t At(int x, int y) const { return m_surface.Row(y)[x]; }
    bool GuardIntact() const {
        for (int y = -1; y <= m_surface.height; ++y)
            for (int x = -1; x <= m_surface.width; ++x) {
                const bool inside = x >= 0 && y >= 0 && x < m_surface.width && y < m_surface.height;
                if (!inside && m_surface.Row(y)[x] != kGuard)
                    return false;
            }
        return true;
    }
    // Pixels in the rectangle that differ from `colour`.
    int CountNot(const CRect& r, uint32_t colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += At(x, y) != colour;
        return n;
    }
    int Count(const CRect& r, uint32_t colour) const {
        return r.Width() * r.Height() - CountNot(r, colour);
    }

private:
    int m_nStride;
    std::vector<uint32_t> m_pixels;
    CSurface m_surface;
};
