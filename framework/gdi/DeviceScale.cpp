#include "framework/gdi/DeviceScale.h"

namespace {
CDeviceScale g_screenScale;
}

CDeviceScale::CDeviceScale(int nQuarters)
    : m_nQuarters(nQuarters < kOne           ? kOne
                  : nQuarters > kMaxQuarters ? kMaxQuarters
                                             : nQuarters) {}

CRect CDeviceScale::ToLayoutCover(const RECT& r) const {
    const CPoint topLeft = ToLayout(CPoint(r.left, r.top));
    if (r.left >= r.right || r.top >= r.bottom)
        return CRect(topLeft, CSize());
    // The layout pixels under the first and the last device pixel, both included.
    const CPoint last = ToLayout(CPoint(r.right - 1, r.bottom - 1));
    return CRect(topLeft.x, topLeft.y, last.x + 1, last.y + 1);
}

const CDeviceScale& AfxGetScreenScale() {
    return g_screenScale;
}

void AfxSetScreenScale(const CDeviceScale& scale) {
    g_screenScale = scale;
}
