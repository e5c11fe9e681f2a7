#include "tools/pack/PictureTransform.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "data/JpegDecoder.h"
#include "tools/pack/JpegMarkers.h"
#include "tools/pack/PackCatalogue.h"
#include "tools/pack/PictureFile.h"
#include "tools/pack/PictureScale.h"

namespace {
using HANDLE_PTR = std::unique_ptr<void, int (*)(tjhandle)>;

// Where the pixel (x, y) of the turned picture comes from: sx = x0 + xx x + xy y, and alike.
struct PIXEL_MAP {
    int x0, xx, xy;
    int y0, yx, yy;
};

PIXEL_MAP MapFor(int nOperation, int w, int h) {
    switch (nOperation) {
    case TJXOP_HFLIP:
        return {w - 1, -1, 0, 0, 0, 1};
    case TJXOP_VFLIP:
        return {0, 1, 0, h - 1, 0, -1};
    case TJXOP_ROT180:
        return {w - 1, -1, 0, h - 1, 0, -1};
    case TJXOP_TRANSPOSE:
        return {0, 0, 1, 0, 1, 0};
    case TJXOP_TRANSVERSE:
        return {w - 1, 0, -1, h - 1, -1, 0};
    case TJXOP_ROT90:
        return {0, 0, 1, h - 1, -1, 0};
    case TJXOP_ROT270:
        return {w - 1, 0, -1, 0, 1, 0};
    default:
        return {0, 1, 0, 0, 0, 1};
    }
}

bool IsQuarterTurn(int nOperation) {
    return nOperation == TJXOP_TRANSPOSE || nOperation == TJXOP_TRANSVERSE ||
           nOperation == TJXOP_ROT90 || nOperation == TJXOP_ROT270;
}

[[noreturn]] void Fail(tjhandle handle, const char* what) {
    throw CPackError(std::string(what) + ": " + tjGetErrorStr2(handle));
}

// TurboJPEG reports recoverable damage as a failure; the picture is complete all the same.
bool Succeeded(tjhandle handle, int nResult) {
    return nResult == 0 || tjGetErrorCode(handle) == TJERR_WARNING;
}

std::vector<BYTE> TakeBuffer(unsigned char* buffer, unsigned long nSize) {
    std::vector<BYTE> bytes(buffer, buffer + nSize);
    tjFree(buffer);
    return bytes;
}

std::vector<BYTE> TransformLossless(const std::vector<BYTE>& jpeg, int nOperation) {
    HANDLE_PTR handle(tjInitTransform(), tjDestroy);
    if (!handle)
        throw CPackError("TurboJPEG cannot start");
    tjtransform transform{};
    transform.op = nOperation;
    transform.options = TJXOPT_PERFECT;
    unsigned char* out = nullptr;
    unsigned long nOut = 0;
    const int nResult = tjTransform(handle.get(), jpeg.data(), (unsigned long)jpeg.size(), 1, &out,
                                    &nOut, &transform, TJFLAG_LIMITSCANS);
    if (!Succeeded(handle.get(), nResult) || !out) {
        tjFree(out);
        Fail(handle.get(), "cannot turn the picture");
    }
    return TakeBuffer(out, nOut);
}

struct DECODED_ROWS {
    std::vector<BYTE> bits;
    int nWidth = 0, nHeight = 0, nStride = 0;
};

BYTE* AllocateRows(void* pContext, int nWidth, int nHeight, int nStride) {
    DECODED_ROWS* rows = static_cast<DECODED_ROWS*>(pContext);
    try {
        rows->bits.resize((size_t)nStride * (size_t)nHeight);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    rows->nWidth = nWidth, rows->nHeight = nHeight, rows->nStride = nStride;
    return rows->bits.data();
}

// TurboJPEG knows the usual chroma samplings only; plain libjpeg, as the viewer uses it,
// decodes the others. The picture is compressed again in the usual 4:2:0.
// The size the turned picture is compressed at, and the quality: a picture made smaller to fit
// takes the quality asked for with the size; one only turned keeps close to what it was.
struct REENCODE_TARGET {
    int nLongSide = 0;
    int nQuality = CPictureTransform::REENCODE_QUALITY;
};

std::vector<BYTE> ReencodeAnySampling(const std::vector<BYTE>& jpeg, int nOperation,
                                      const REENCODE_TARGET& target) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(
        fmemopen(const_cast<BYTE*>(jpeg.data()), jpeg.size(), "rb"), std::fclose);
    DECODED_ROWS rows;
    if (!file ||
        !CJpegDecoder::Decode(file.get(), CPictureFile::MAX_PIXEL_BYTES, AllocateRows, &rows))
        throw CPackError("libjpeg cannot decode the picture");
    const bool bSwap = IsQuarterTurn(nOperation);
    RGBA_IMAGE turned{bSwap ? rows.nHeight : rows.nWidth, bSwap ? rows.nWidth : rows.nHeight, {}};
    turned.pixels.reserve((size_t)rows.nWidth * (size_t)rows.nHeight);
    const PIXEL_MAP m = MapFor(nOperation, rows.nWidth, rows.nHeight);
    for (int y = 0; y < turned.nHeight; ++y)
        for (int x = 0; x < turned.nWidth; ++x) {
            const BYTE* p = &rows.bits[(size_t)(m.y0 + m.yx * x + m.yy * y) * (size_t)rows.nStride +
                                       (size_t)(m.x0 + m.xx * x + m.xy * y) * 3];
            turned.pixels.push_back(0xFF000000u | (DWORD)p[2] << 16 | (DWORD)p[1] << 8 | p[0]);
        }
    if (CPictureScale::NeedsShrinking(turned.nWidth, turned.nHeight, target.nLongSide)) {
        turned = CPictureScale::Fitted(turned, target.nLongSide);
    }
    return CJpegMarkers::InsertSegments(CPictureFile::EncodeJpeg(turned, target.nQuality),
                                        CJpegMarkers::CarriedSegments(jpeg.data(), jpeg.size()));
}

std::vector<BYTE> Reencode(const std::vector<BYTE>& jpeg, int nOperation,
                           const REENCODE_TARGET& target) {
    HANDLE_PTR decoder(tjInitDecompress(), tjDestroy);
    HANDLE_PTR encoder(tjInitCompress(), tjDestroy);
    if (!decoder || !encoder)
        throw CPackError("TurboJPEG cannot start");
    int w = 0, h = 0, nSubsampling = 0, nColourSpace = 0;
    if (tjDecompressHeader3(decoder.get(), jpeg.data(), (unsigned long)jpeg.size(), &w, &h,
                            &nSubsampling, &nColourSpace) != 0)
        return ReencodeAnySampling(jpeg, nOperation, target);
    const int nFormat = nColourSpace == TJCS_GRAY                                ? TJPF_GRAY
                        : nColourSpace == TJCS_CMYK || nColourSpace == TJCS_YCCK ? TJPF_CMYK
                                                                                 : TJPF_RGB;
    const size_t nPixel = (size_t)tjPixelSize[nFormat];
    std::vector<BYTE> pixels((size_t)w * (size_t)h * nPixel);
    if (!Succeeded(decoder.get(),
                   tjDecompress2(decoder.get(), jpeg.data(), (unsigned long)jpeg.size(),
                                 pixels.data(), w, 0, h, nFormat, 0)))
        Fail(decoder.get(), "cannot decode the picture");

    int tw = IsQuarterTurn(nOperation) ? h : w, th = IsQuarterTurn(nOperation) ? w : h;
    const PIXEL_MAP m = MapFor(nOperation, w, h);
    std::vector<BYTE> turned(pixels.size());
    BYTE* to = turned.data();
    for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x, to += nPixel) {
            const size_t sx = (size_t)(m.x0 + m.xx * x + m.xy * y);
            const size_t sy = (size_t)(m.y0 + m.yx * x + m.yy * y);
            std::copy_n(&pixels[(sy * (size_t)w + sx) * nPixel], nPixel, to);
        }
    if (CPictureScale::NeedsShrinking(tw, th, target.nLongSide)) {
        int fw = 0, fh = 0;
        CPictureScale::FitSize(tw, th, target.nLongSide, fw, fh);
        turned =
            CPictureScale::Shrink(turned.data(), tw, th, (size_t)tw * nPixel, (int)nPixel, fw, fh);
        tw = fw, th = fh;
    }
    unsigned char* out = nullptr;
    unsigned long nOut = 0;
    if (tjCompress2(encoder.get(), turned.data(), tw, 0, th, nFormat, &out, &nOut, nSubsampling,
                    target.nQuality, 0) != 0) {
        tjFree(out);
        Fail(encoder.get(), "cannot compress the turned picture");
    }
    return CJpegMarkers::InsertSegments(TakeBuffer(out, nOut),
                                        CJpegMarkers::CarriedSegments(jpeg.data(), jpeg.size()));
}
} // namespace

int CPictureTransform::OperationFor(int nOrientation) {
    // The orientation's own turn followed by the flip, composed into one operation.
    switch (nOrientation) {
    case EXIF_MIRRORED:
        return TJXOP_ROT180;
    case EXIF_UPSIDE_DOWN:
        return TJXOP_HFLIP;
    case EXIF_FLIPPED:
        return TJXOP_NONE;
    case EXIF_TRANSPOSED:
        return TJXOP_ROT270;
    case EXIF_TURNED_RIGHT:
        return TJXOP_TRANSVERSE;
    case EXIF_TRANSVERSED:
        return TJXOP_ROT90;
    case EXIF_TURNED_LEFT:
        return TJXOP_TRANSPOSE;
    default:
        return TJXOP_VFLIP;
    }
}

bool CPictureTransform::IsLossless(int nOperation, int nWidth, int nHeight, int nBlockWidth,
                                   int nBlockHeight) {
    // Partial blocks on the right or bottom edge cannot move to the left or top.
    const bool bWidthFits = nWidth % nBlockWidth == 0, bHeightFits = nHeight % nBlockHeight == 0;
    switch (nOperation) {
    case TJXOP_HFLIP:
    case TJXOP_ROT270:
        return bWidthFits;
    case TJXOP_VFLIP:
    case TJXOP_ROT90:
        return bHeightFits;
    case TJXOP_ROT180:
    case TJXOP_TRANSVERSE:
        return bWidthFits && bHeightFits;
    default:
        return true;
    }
}

bool CPictureTransform::KnowsSampling(const BYTE* data, size_t n) {
    HANDLE_PTR handle(tjInitDecompress(), tjDestroy);
    int w = 0, h = 0, nSubsampling = 0, nColourSpace = 0;
    return handle && tjDecompressHeader3(handle.get(), data, (unsigned long)n, &w, &h,
                                         &nSubsampling, &nColourSpace) == 0;
}

bool CPictureTransform::SwapsSides(int nOrientation) {
    return nOrientation >= EXIF_TRANSPOSED && nOrientation <= EXIF_TURNED_LEFT;
}

std::vector<BYTE> CPictureTransform::StoreUpsideDown(const std::vector<BYTE>& jpeg,
                                                     int nOrientation, bool bLossless,
                                                     int nLongSide, int nQuality) {
    const int nOperation = OperationFor(nOrientation);
    if (nLongSide > 0)
        return CJpegMarkers::WithoutExif(Reencode(jpeg, nOperation, {nLongSide, nQuality}));
    if (nOperation == TJXOP_NONE)
        return CJpegMarkers::WithoutExif(jpeg);
    // The transform copies every marker, the EXIF block with its old orientation among them.
    return CJpegMarkers::WithoutExif(bLossless ? TransformLossless(jpeg, nOperation)
                                               : Reencode(jpeg, nOperation, REENCODE_TARGET()));
}
