// The objects behind HGDIOBJ handles (framework/gdi only). A handle is the address of one of
// these; every live object is registered, so a stale or foreign handle is refused instead of
// followed. An object selected into a context is deleted only once no context holds it.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/gdi/DeviceScale.h"
#include "framework/gdi/GdiObject.h"
#include "framework/gdi/PixelMemory.h"
#include "framework/gdi/Surface.h"

// Object kinds, with the platform's GetObjectType values.
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7

// The stock 1 × 1 monochrome bitmap that a new memory context holds (GetStockObject index).
#define STOCK_DEFAULT_BITMAP 21

class CGdiObjectData {
public:
    explicit CGdiObjectData(int nKind) : m_nKind(nKind) {}
    virtual ~CGdiObjectData();
    CGdiObjectData(const CGdiObjectData&) = delete;
    CGdiObjectData& operator=(const CGdiObjectData&) = delete;

    // Fills the platform structure of the kind (BITMAP, LOGBRUSH, LOGPEN, LOGFONT) when `size`
    // is large enough; returns the bytes written, 0 when too small.
    virtual int GetObject(int size, void* out) const = 0;

    const int m_nKind;
    bool m_bStock = false;                  // never deleted
    int m_nSelections = 0;                  // contexts (and saved states) that hold it
    bool m_bDeletePending = false;          // deleted while selected: goes when released
    std::unique_ptr<CGdiObject> m_pWrapper; // FromHandle's wrapper, made on first use
};

// Registers a new object and returns its handle; the registry owns it from then on.
HGDIOBJ AfxAddGdiObject(std::unique_ptr<CGdiObjectData> pObject);
// The live object behind a handle, or null (null, stale or foreign handle).
CGdiObjectData* AfxGetGdiObject(HGDIOBJ h);
// The live object of that kind, or null.
template <class T> T* AfxGetGdiObject(HGDIOBJ h, int nKind) {
    CGdiObjectData* p = AfxGetGdiObject(h);
    return p && p->m_nKind == nKind ? static_cast<T*>(p) : nullptr;
}
// DeleteObject: frees it now, or when the last context lets it go; stock objects stay.
BOOL AfxDeleteGdiObject(HGDIOBJ h);
// The wrapper that FromHandle returns (CBitmap, CBrush, CPen or CFont by the object's kind),
// kept as long as the object lives; null for a null or stale handle or another kind (kind 0
// takes any).
CGdiObject* AfxGetGdiWrapper(HGDIOBJ h, int nKind);
// Selection counting: a context retains what it selects and releases what it lets go; the
// last release of an object deleted meanwhile frees it.
void AfxRetainGdiObject(HGDIOBJ h);
void AfxReleaseGdiObject(HGDIOBJ h);

// A bitmap of 1, 4, 8, 24 or 32 bits per pixel. Rows are `m_nStride` bytes apart; the first
// row in memory is the bottom row when `m_bBottomUp`. 32-bit pixels are 0x00RRGGBB words.
class CBitmapData : public CGdiObjectData {
public:
    // Zero-filled bits; the stride is rounded up to `nRowAlign` bytes (2 for device bitmaps,
    // 4 for DIBs). Returns null for impossible or absurd sizes.
    static std::unique_ptr<CBitmapData> Create(int nWidth, int nHeight, int nBitsPerPixel,
                                               bool bBottomUp, int nRowAlign);
    CBitmapData() : CGdiObjectData(OBJ_BITMAP) {}
    int GetObject(int size, void* out) const override;

    uint8_t* Bits() { return reinterpret_cast<uint8_t*>(m_words.get()); }
    const uint8_t* Bits() const { return reinterpret_cast<const uint8_t*>(m_words.get()); }
    // Row y counted from the top of the picture.
    const uint8_t* Row(int y) const {
        return Bits() + (ptrdiff_t)(m_bBottomUp ? m_nHeight - 1 - y : y) * m_nStride;
    }
    uint8_t* Row(int y) {
        return const_cast<uint8_t*>(static_cast<const CBitmapData*>(this)->Row(y));
    }
    // A 32-bit bitmap as a drawing surface (rows top-down, a negative pitch when bottom-up);
    // an invalid surface for other depths.
    CSurface AsSurface();
    // The 0x00RRGGBB colour of pixel (x, y), inside the bitmap.
    uint32_t PixelAt(int x, int y) const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitsPerPixel = 0;
    int m_nStride = 0;
    bool m_bBottomUp = false;
    bool m_bDIBSection = false;
    // A bitmap made compatible with a scaled context holds its pixels at that scale.
    CDeviceScale m_scale;
    uint32_t m_palette[256] = {}; // 0x00RRGGBB entries for depths up to 8 bits
    PixelMemoryPtr m_words;
};

// A solid, null or 8 × 8 monochrome pattern brush. Pattern bit 0 takes the context's text
// colour, bit 1 its background colour; row 0 is the top row, bit 7 of a row its left pixel.
class CBrushData : public CGdiObjectData {
public:
    CBrushData() : CGdiObjectData(OBJ_BRUSH) {}
    int GetObject(int size, void* out) const override;

    UINT m_nStyle = BS_SOLID;
    COLORREF m_color = 0;
    uint8_t m_pattern[8] = {};
    HBITMAP m_hPatternBitmap = nullptr; // reported in LOGBRUSH, not owned
};

class CPenData : public CGdiObjectData {
public:
    CPenData() : CGdiObjectData(OBJ_PEN) {}
    int GetObject(int size, void* out) const override;

    UINT m_nStyle = PS_SOLID;
    int m_nWidth = 0;
    COLORREF m_color = 0;
};
