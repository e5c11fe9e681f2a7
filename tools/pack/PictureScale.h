// Making a picture smaller to fit a long side, for collections that must travel by mail: every
// pixel of the result is the average of the source pixels it covers.
#pragma once

#include <vector>

#include "framework/core/WinTypes.h"

struct RGBA_IMAGE;

class CPictureScale {
public:
    // Whether a w x h picture is larger than `nLongSide` (0: no limit) on its long side.
    static bool NeedsShrinking(int w, int h, int nLongSide);
    // The size that fits within `nLongSide` on the long side, keeping the proportions.
    static void FitSize(int w, int h, int nLongSide, int& fw, int& fh);
    // Pixels of `nChannels` bytes each, rows `nStride` bytes apart, averaged down to tw x th;
    // the result's rows are packed.
    static std::vector<BYTE> Shrink(const BYTE* pixels, int w, int h, size_t nStride, int nChannels,
                                    int tw, int th);
    // The image fitted within `nLongSide` on its long side.
    static RGBA_IMAGE Fitted(const RGBA_IMAGE& image, int nLongSide);
};
