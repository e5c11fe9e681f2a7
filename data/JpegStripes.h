// Cuts a sequential JPEG whose restart intervals begin every MCU row into horizontal stripes,
// each a small JPEG of its own, so that one picture's entropy data (which is read serially)
// can be decoded on several cores.
#pragma once

#include <cstddef>
#include <vector>

#include "framework/core/WinTypes.h"

// The picture's block layout as the library read it from the headers.
struct JPEG_SCAN_SHAPE {
    int nWidth = 0; // pixels
    int nHeight = 0;
    int nMcuWidth = 0; // pixels an MCU covers (8 x the largest sampling factor)
    int nMcuHeight = 0;
    int nRestartInterval = 0; // MCUs
};

// One stripe: it decodes the picture's pixel rows [nDecodeFrom, nDecodeTo) and gives the
// picture rows [nKeepFrom, nKeepTo). It decodes one MCU row more on each inner side than it
// gives, so that chroma upsampling on its edges sees the rows the whole decode would see.
// Its JPEG is the headers with the stripe's height, then its entropy data (a part of the
// picture's bytes, not copied, beginning at a restart interval whose number is a multiple of
// 8, so that its markers count from RST0 as the decoder expects), then EOI.
struct JPEG_STRIPE {
    std::vector<BYTE> headers;
    const BYTE* pData = nullptr;
    size_t nData = 0;
    int nDecodeFrom = 0;
    int nDecodeTo = 0;
    int nKeepFrom = 0;
    int nKeepTo = 0;
};

class CJpegStripes {
public:
    // Fills `stripes` with up to nStripes stripes (at least two) of about as many bytes of
    // entropy data each, pointing into `bytes`, and returns TRUE when the
    // bytes are one sequential scan (frame SOF0 or SOF1) whose restart markers are all there,
    // numbered in order, with every MCU row starting an interval, and nothing else between
    // the scan header and EOI. Anything else returns FALSE: the picture is decoded whole.
    static BOOL Cut(const BYTE* bytes, size_t n, const JPEG_SCAN_SHAPE& shape, int nStripes,
                    std::vector<JPEG_STRIPE>& stripes);
};
