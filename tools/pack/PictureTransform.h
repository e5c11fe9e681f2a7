// Turns a JPEG into the form the viewer stores: the upright picture (after its EXIF orientation)
// turned upside down, because the viewer shows the first row of a JPEG at the bottom. Done on
// the compressed blocks, without loss, when the picture's edges lie on the block grid;
// otherwise the picture is decoded, turned and compressed again at high quality.
#pragma once

#include <vector>

#include "framework/core/WinTypes.h"

class CPictureTransform {
public:
    // The quality of pictures that cannot be turned without loss.
    static const int REENCODE_QUALITY = 95;

    // The one TurboJPEG operation (TJXOP_*) that applies the orientation and then flips.
    static int OperationFor(int nOrientation);
    // Whether the operation keeps every pixel of a picture of this size and block size.
    static bool IsLossless(int nOperation, int nWidth, int nHeight, int nBlockWidth,
                           int nBlockHeight);
    // Whether TurboJPEG knows the picture's chroma sampling (all but rare encoders' do); the
    // others cannot be turned on their blocks.
    static bool KnowsSampling(const BYTE* data, size_t n);
    // Whether the orientation swaps width and height.
    static bool SwapsSides(int nOrientation);
    // The stored form, without EXIF block. Throws CPackError with TurboJPEG's message. A
    // `nLongSide` above 0 makes the upright picture fit it, compressed at `nQuality`, in the same
    // decoding and compression that turns it.
    static std::vector<BYTE> StoreUpsideDown(const std::vector<BYTE>& jpeg, int nOrientation,
                                             bool bLossless, int nLongSide = 0,
                                             int nQuality = REENCODE_QUALITY);
};
