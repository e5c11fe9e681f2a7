// The pictures slideshow-pack stores. The viewer shows the first row of a JPEG at the bottom,
// so every picture is stored upside down: JPEGs are turned on their compressed blocks (after
// their EXIF orientation), PNGs are flipped and converted to JPEG. Every file is checked with
// libjpeg (or libpng) before anything is written, so a collection never carries a picture that
// the viewer cannot read.
#pragma once

#include <string>
#include <vector>

#include "framework/core/WinTypes.h"

// How pictures are stored, beyond turning them.
struct PICTURE_OPTIONS {
    DWORD background = 0x000000; // 0xRRGGBB under a PNG's transparent parts: the viewer's black
    int nMaxSize = 0;            // pictures longer than this (pixels) are made to fit; 0: none
    int nQuality = 90;           // of the pictures made to fit
};

// A picture ready to be stored: either a JPEG file (kept on disk until written, then turned) or
// a converted JPEG held in memory.
struct PACK_PICTURE {
    std::string path;            // the JPEG file, when not converted
    std::vector<BYTE> converted; // the JPEG made from a PNG, already upside down
    int nWidth = 0, nHeight = 0; // as the picture shows
    int nOrientation = 1;        // the JPEG file's EXIF orientation
    bool bLossless = true;       // the JPEG file can be turned without decoding it
    int nLongSide = 0;           // made to fit this long side when stored; 0: kept at its size
    int nQuality = 0;            // of a picture made to fit
    ULONGLONG nSourceBytes = 0;  // the file's size
    std::string warning;         // a problem that did not stop the picture, naming the file
};

// What libjpeg reads from a JPEG's header.
struct JPEG_HEADER {
    int nWidth = 0, nHeight = 0;
    int nBlockWidth = 8, nBlockHeight = 8; // the pixels one compressed block unit covers
};

// An RGBA image, rows top first, 0xAARRGGBB.
struct RGBA_IMAGE {
    int nWidth = 0, nHeight = 0;
    std::vector<DWORD> pixels;
};

class CPictureFile {
public:
    // The JPEG quality of pictures converted from PNG.
    static const int PNG_JPEG_QUALITY = 92;
    // The viewer refuses pictures whose decoded pixels take more than this.
    static const ULONGLONG MAX_PIXEL_BYTES = 1ull << 30;

    // Checks the file and prepares its JPEG. Throws CPackError naming the file.
    static PACK_PICTURE Prepare(const std::string& path,
                                const PICTURE_OPTIONS& options = PICTURE_OPTIONS());
    // The JPEG bytes to store. Throws CPackError naming the file.
    static std::vector<BYTE> Store(const PACK_PICTURE& picture);
    // Width and height from a JPEG's header; FALSE when libjpeg cannot read it.
    static BOOL ReadJpegSize(const BYTE* data, size_t n, int& nWidth, int& nHeight,
                             std::string& error);
    static BOOL ReadJpegHeader(const BYTE* data, size_t n, JPEG_HEADER& header, std::string& error);
    // Reads a PNG into RGBA. Throws CPackError naming the file.
    static RGBA_IMAGE ReadPng(const std::string& path);
    // Writes RGBA as a PNG with alpha. Throws CPackError naming the file.
    static void WritePng(const RGBA_IMAGE& image, const std::string& path);
    // The image upside down.
    static RGBA_IMAGE Flipped(const RGBA_IMAGE& image);
    // The bytes of that PNG. Throws CPackError.
    static std::vector<BYTE> EncodePng(const RGBA_IMAGE& image);
    // Compresses to JPEG, transparent parts blended onto `background` (0xRRGGBB; by default
    // black, the viewer's background).
    static std::vector<BYTE> EncodeJpeg(const RGBA_IMAGE& image, int nQuality,
                                        DWORD background = 0);
    // Reads a colour as "#RRGGBB", "RRGGBB", "#RGB" or black, white, grey; FALSE otherwise.
    static BOOL ParseColour(const std::string& text, DWORD& colour);
    // Whether the file starts with the PNG signature.
    static BOOL IsPng(const BYTE* data, size_t n);
};
