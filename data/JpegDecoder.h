// Decodes a JPEG file with libjpeg into 24-bit rows (blue, green, red) padded to 4 bytes, in
// the decoder's scanline order: the first scanline first.
#pragma once

#include <cstdio>
#include <memory>

#include "framework/core/WinTypes.h"

struct DECODED_JPEG {
    int nWidth = 0;
    int nHeight = 0;
    int nStride = 0; // bytes per row: 3 per pixel, rounded up to a multiple of 4
    std::unique_ptr<BYTE[]> pixels;
};

class CJpegDecoder {
public:
    // FALSE when the library cannot decode the file (its message is on stderr) or when the
    // rows would need more than `nMaxPixelBytes` (refused before anything that size is
    // allocated, with a message on stderr naming the size). Warnings go to stderr and
    // decoding goes on.
    static BOOL Decode(FILE* file, ULONGLONG nMaxPixelBytes, DECODED_JPEG& out);
};
