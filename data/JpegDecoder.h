// Decodes a JPEG file with libjpeg into 24-bit rows (blue, green, red) padded to 4 bytes, in
// the decoder's scanline order: the first scanline first.
#pragma once

#include <cstdio>

#include "framework/core/WinTypes.h"

// Where the rows go: asked once the picture's size is known, it returns a block of
// nStride x nHeight bytes (nStride = 3 x nWidth rounded up to a multiple of 4), or null when
// it cannot have one. It must not throw.
typedef BYTE* (*JPEG_ROWS_ALLOCATOR)(void* pContext, int nWidth, int nHeight, int nStride);

class CJpegDecoder {
public:
    // FALSE when the library cannot decode the file (its message is on stderr) or when the
    // rows would need more than `nMaxPixelBytes` (refused before anything that size is
    // allocated, with a message on stderr naming the size). Warnings go to stderr and
    // decoding goes on.
    // The rows are written straight into the allocator's block, with no copy of the picture
    // on the way; after a failure its contents are undefined.
    static BOOL Decode(FILE* file, ULONGLONG nMaxPixelBytes, JPEG_ROWS_ALLOCATOR pAllocate, void* pContext);
};
