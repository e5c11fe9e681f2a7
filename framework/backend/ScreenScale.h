// The scale the program's frame is drawn at on a screen: the largest multiple of 0.25 at which
// the 800 × 600 frame still fits, from 1.5 up; below that the frame keeps its own pixels.
// SLIDESHOW_SCALE overrides the choice.
#pragma once

#include "framework/core/String.h"
#include "framework/gdi/DeviceScale.h"

#define SCREEN_SCALE_ENV "SLIDESHOW_SCALE"

// The scale for a screen of that many device pixels. `pszOverride` (the environment's value,
// may be null) wins when it is a number from 1 to 8, rounded to a quarter; anything else is
// ignored and `strWarning` says why (empty when there is nothing to say).
CDeviceScale AfxChooseScreenScale(CSize sizeScreen, const char* pszOverride, CString& strWarning);

// The screen in layout pixels: the backend's screen divided by the screen scale (rounded up,
// so that the windows cover every device pixel). (0, 0) without a backend.
CSize AfxGetScreenSize();
