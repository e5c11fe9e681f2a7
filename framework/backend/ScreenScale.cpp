#include "framework/backend/ScreenScale.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "framework/backend/Backend.h"

namespace {
const int FRAME_WIDTH = 800;
const int FRAME_HEIGHT = 600;
// Smaller factors would change the frame's pixels for too little gain.
const int FIRST_QUARTERS = 6;

int FittingQuarters(CSize sizeScreen) {
    const int64_t byWidth = (int64_t)sizeScreen.cx * CDeviceScale::kOne / FRAME_WIDTH;
    const int64_t byHeight = (int64_t)sizeScreen.cy * CDeviceScale::kOne / FRAME_HEIGHT;
    const int64_t quarters = byWidth < byHeight ? byWidth : byHeight;
    if (quarters < FIRST_QUARTERS)
        return CDeviceScale::kOne;
    return quarters > CDeviceScale::kMaxQuarters ? CDeviceScale::kMaxQuarters : (int)quarters;
}

// The override in quarters, or 0 when it is not a usable number.
int OverrideQuarters(const char* text, CString& strWarning) {
    char* end = nullptr;
    errno = 0;
    const double factor = strtod(text, &end);
    if (end == text || *end != '\0' || errno != 0 || !std::isfinite(factor)) {
        strWarning.Format("%s=\"%s\" is not a number; the scale is chosen for the screen",
                          SCREEN_SCALE_ENV, text);
        return 0;
    }
    const double kMax = CDeviceScale::kMaxQuarters / (double)CDeviceScale::kOne;
    if (factor < 1 || factor > kMax) {
        strWarning.Format("%s=%s lies outside 1 to %g; the scale is chosen for the screen",
                          SCREEN_SCALE_ENV, text, kMax);
        return 0;
    }
    return (int)std::lround(factor * CDeviceScale::kOne);
}
} // namespace

CDeviceScale AfxChooseScreenScale(CSize sizeScreen, const char* pszOverride, CString& strWarning) {
    strWarning.Empty();
    if (pszOverride && *pszOverride) {
        if (const int quarters = OverrideQuarters(pszOverride, strWarning))
            return CDeviceScale(quarters);
    }
    return CDeviceScale(FittingQuarters(sizeScreen));
}

CSize AfxGetScreenSize() {
    CBackend* pBackend = AfxGetBackend();
    if (!pBackend)
        return CSize();
    const CSize device = pBackend->GetScreenSize();
    const CRect layout = AfxGetScreenScale().ToLayoutCover(CRect(CPoint(), device));
    return layout.Size();
}
