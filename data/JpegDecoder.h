// Decodes a JPEG file with libjpeg into 24-bit rows (blue, green, red) padded to 4 bytes, in
// the decoder's scanline order: the first scanline first.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>

#include "framework/core/WinTypes.h"

// Where the rows go: asked once the picture's size is known, it returns a block of
// nStride x nHeight bytes (nStride = 3 x nWidth rounded up to a multiple of 4), or null when
// it cannot have one. It must not throw.
typedef BYTE* (*JPEG_ROWS_ALLOCATOR)(void* pContext, int nWidth, int nHeight, int nStride);

// What a decode is asked for and what it found.
struct JPEG_DECODE_REQUEST {
    // The box the picture is drawn in, shrunk to fit (0 x 0: decode at full size). The decoder
    // picks the smallest scale k/8 whose output still covers the picture as drawn there.
    int nBoxWidth = 0;
    int nBoxHeight = 0;
    // Set from the header: the picture's own size, whatever scale the rows were decoded at.
    int nFullWidth = 0;
    int nFullHeight = 0;
    // Set from another thread, it ends the decode at its next row, as a failure without a
    // message. Null: the decode always runs to its end.
    const std::atomic<bool>* pCancel = nullptr;
    // Where the library's messages and the decoder's refusals go, one line each, instead of
    // stderr: a decode made before its picture is shown tells them only when it is shown.
    std::string* pMessages = nullptr;
    // Above 1: a sequential picture with a restart marker starting every MCU row, of at least
    // nMinStripedPixels, is cut into up to this many stripes (at most MAX_STRIPES) decoded on
    // up to this many threads (at most one a core). Giving the same rows as one decode, it is
    // for a picture someone waits for alone; pictures decoded side by side already keep the
    // cores busy.
    int nMaxThreads = 1;
    ULONGLONG nMinStripedPixels = 1 << 20;
    // Set by a decode that gave rows: the stripes they were decoded in (1: one whole decode).
    int nStripesUsed = 0;
};

class CJpegDecoder {
public:
    // The most work one decode may take: the 8 x 8 blocks of all its scans together, and the
    // scans themselves. A progressive picture that would pass them is refused before the scan
    // that passes them is read.
    static const ULONGLONG MAX_SCAN_BLOCKS = 1ULL << 25;
    static const int MAX_SCANS = 1000;
    // Beyond this, the stripes of one picture gain little on the machines it runs on.
    static constexpr int MAX_STRIPES = 4;

    // FALSE when the library cannot decode the file (its message is on stderr), when the
    // rows would need more than `nMaxPixelBytes` or than the pixel budget has left (refused
    // before anything that size is allocated, with a message on stderr naming the size), or
    // when it would take more work than the bounds above. Warnings go to stderr and decoding
    // goes on.
    // The rows are written straight into the allocator's block, with no copy of the picture
    // on the way; after a failure its contents are undefined.
    // Safe on any thread: it touches no window and no GDI handle (the allocator must not either).
    static BOOL Decode(FILE* file, ULONGLONG nMaxPixelBytes, JPEG_ROWS_ALLOCATOR pAllocate,
                       void* pContext, JPEG_DECODE_REQUEST* pRequest = nullptr);
    // The same from bytes in memory, which must stay unchanged until it returns.
    static BOOL DecodeBytes(const BYTE* bytes, size_t n, ULONGLONG nMaxPixelBytes,
                            JPEG_ROWS_ALLOCATOR pAllocate, void* pContext,
                            JPEG_DECODE_REQUEST* pRequest = nullptr);
    // The numerator k of the scale k/8 a picture of nWidth x nHeight is decoded at for a box:
    // the smallest whose output (k/8 of each side, rounded up) still covers the picture shrunk
    // to fit the box; 8 when the picture fits the box or no box is given.
    static int ChooseScale(int nWidth, int nHeight, int nBoxWidth, int nBoxHeight);
};
