// How many device pixels one layout pixel covers. The windows lay themselves out in layout
// pixels (the 800 × 600 frame); a surface may hold its pixels at a larger scale, and the
// contexts that draw on it map every coordinate through that surface's scale. The factor is a
// whole number of quarters, so that every mapped coordinate is exact in integers.
#pragma once

#include <cstdint>

#include "framework/core/Geometry.h"

class CDeviceScale {
public:
    static constexpr int kOne = 4; // quarters in a factor of 1
    static constexpr int kMaxQuarters = 32;

    CDeviceScale() = default;
    // Clamped to 1 … 8.
    explicit CDeviceScale(int nQuarters);

    int Quarters() const { return m_nQuarters; }
    bool IsIdentity() const { return m_nQuarters == kOne; }
    double Factor() const { return m_nQuarters / (double)kOne; }
    bool operator==(const CDeviceScale& other) const { return m_nQuarters == other.m_nQuarters; }
    bool operator!=(const CDeviceScale& other) const { return !(*this == other); }

    // A layout coordinate to the device pixel edge nearest to it. Edges map one by one, so
    // rectangles that touch in layout pixels touch on the device too, with no gap or overlap.
    int64_t ToDevice(int64_t v) const { return FloorDiv(v * m_nQuarters + kOne / 2, kOne); }
    CPoint ToDevice(POINT p) const { return CPoint((int)ToDevice(p.x), (int)ToDevice(p.y)); }
    CRect ToDevice(const RECT& r) const {
        return CRect((int)ToDevice(r.left), (int)ToDevice(r.top), (int)ToDevice(r.right),
                     (int)ToDevice(r.bottom));
    }
    // The layout pixel under a device pixel: the x whose device pixels, from ToDevice(x) up to
    // ToDevice(x + 1), hold it.
    int64_t ToLayout(int64_t v) const { return FloorDiv(v * kOne + kOne / 2 - 1, m_nQuarters); }
    CPoint ToLayout(POINT p) const { return CPoint((int)ToLayout(p.x), (int)ToLayout(p.y)); }
    // The layout pixels that a device rectangle touches.
    CRect ToLayoutCover(const RECT& r) const;
    // A layout length in device pixels, for sizes that have no position (a font's height).
    int ScaleLength(int n) const { return (int)ToDevice(n); }
    // The width of a line one layout pixel wide: a whole number of device pixels, the same
    // everywhere on the surface.
    int LineWidth() const { return (m_nQuarters + kOne / 2) / kOne; }

private:
    static int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

    int m_nQuarters = kOne;
};

// The scale of the screen surface: what windows drawing on the screen use.
const CDeviceScale& AfxGetScreenScale();
void AfxSetScreenScale(const CDeviceScale& scale);
