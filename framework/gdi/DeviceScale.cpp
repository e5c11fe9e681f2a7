#include "framework/gdi/DeviceScale.h"

namespace {
CDeviceScale g_screenScale;
}

CDeviceScale::CDeviceScale(int nQuarters)
    : m_nQuarters(nQuarters < kOne           ? kOne
                  : nQuarters > kMaxQuarters ? kMaxQuarters
                                             : nQuarters) {}

CRect CDeviceScale::ToLayoutCover(const RECT& r) const {
    // The right and bottom edges round up: a device pixel partly over a layout pixel counts.
    return CRect((int)ToLayout(r.left), (int)ToLayout(r.top), (int)-ToLayout(-(int64_t)r.right),
                 (int)-ToLayout(-(int64_t)r.bottom));
}

const CDeviceScale& AfxGetScreenScale() {
    return g_screenScale;
}

void AfxSetScreenScale(const CDeviceScale& scale) {
    g_screenScale = scale;
}
