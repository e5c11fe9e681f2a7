// An image list: a row of equally sized small images, read from the platform's image-list
// stream (the layout the common controls write) and drawn by the device-context code.
#pragma once

#include <vector>

#include "framework/core/ByteSource.h"
#include "framework/core/Object.h"
#include "framework/gdi/GdiTypes.h"

#define CLR_NONE 0xFFFFFFFFu

#define ILC_MASK 0x0001
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

#define ILD_NORMAL 0x0000
#define ILD_TRANSPARENT 0x0001

// What an image list holds once decoded, whatever depth its stream had. Image i occupies
// pixels [i * cx * cy, (i + 1) * cx * cy), rows top first, each pixel 0xAARRGGBB with
// straight (not premultiplied) alpha; lists without alpha hold alpha 0xFF everywhere.
//
// Drawing image i at (x, y) onto a destination pixel d (per channel), as the platform does:
//   - bAlpha and imageHasAlpha[i]: out = floor(s * a / 255) + floor((d * (255 - a) + 127) / 255)
//   - otherwise, bMask and the pixel's mask flag is 1 (transparent): out = d OR s
//     (the stream stores transparent pixels black, so this shows the background)
//   - otherwise: out = s (opaque).
// A 32-bit tile whose alpha is zero everywhere draws opaque: imageHasAlpha[i] is then 0.
struct IMAGELIST_DATA {
    int cx = 0;
    int cy = 0;
    int nImages = 0;
    UINT flags = 0;                  // the ILC_* flags of the stream
    COLORREF clrBk = CLR_NONE;       // background colour the stream names (unused by drawing)
    BOOL bMask = FALSE;              // the list has a mask
    BOOL bAlpha = FALSE;             // a 32-bit list whose pixels carry straight alpha
    std::vector<DWORD> pixels;       // nImages * cx * cy, 0xAARRGGBB
    std::vector<BYTE> mask;          // same indexing, 1 = transparent; empty without a mask
    std::vector<BYTE> imageHasAlpha; // per image: 1 when some pixel's alpha is not zero

    DWORD PixelAt(int image, int x, int y) const {
        return pixels[((size_t)image * (size_t)cy + (size_t)y) * (size_t)cx + (size_t)x];
    }
    BOOL IsTransparentAt(int image, int x, int y) const {
        return bMask &&
               mask[((size_t)image * (size_t)cy + (size_t)y) * (size_t)cx + (size_t)x] != 0;
    }
};

// The data behind a handle, for drawing code; null for a null handle.
const IMAGELIST_DATA* ImageList_GetData(HIMAGELIST himl);

class CImageList : public CObject {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() override;

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    const IMAGELIST_DATA* GetData() const { return ImageList_GetData(m_hImageList); }

    // Consumes exactly one image-list stream and attaches the result. A damaged stream
    // (bad magic or version, unknown depth, sizes that do not fit the bytes that remain)
    // returns FALSE and leaves the list empty; the source may then be partly consumed. So does
    // a list whose decoded pixels would pass the pixel budget (with a line on stderr).
    BOOL Read(CByteSource* pSource);
    // Makes this list a duplicate of another, sharing its pixels (lists never change once
    // read); FALSE (and empty) when that one is empty.
    BOOL Create(CImageList* pImageList);
    BOOL DeleteImageList();
    int GetImageCount() const;
    BOOL GetImageSize(int* pcx, int* pcy) const;
};
