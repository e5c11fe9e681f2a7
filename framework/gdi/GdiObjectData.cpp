#include "framework/gdi/GdiObjectData.h"

#include <cstring>
#include <vector>

namespace {

// The live objects by address, owned, in one open-addressing table: a lookup reads one slot
// and no node of its own, which matters when a window per detail brings hundreds of thousands
// of fonts and brushes.
class CObjectTable {
public:
    CGdiObjectData* Find(const void* p) const {
        for (size_t i = Home(p);; i = Next(i)) {
            if (m_slots[i] == p || m_slots[i] == nullptr)
                return m_slots[i];
        }
    }
    void Insert(std::unique_ptr<CGdiObjectData> pObject) {
        if (2 * (m_nCount + 1) > m_slots.size())
            Grow();
        Place(pObject.release());
        ++m_nCount;
    }
    // Takes the object out and deletes it.
    void Erase(CGdiObjectData* p) {
        size_t i = Home(p);
        while (m_slots[i] != p) {
            if (m_slots[i] == nullptr)
                return;
            i = Next(i);
        }
        m_slots[i] = nullptr;
        --m_nCount;
        // Moves back the entries after the hole that would no longer be found past it.
        for (size_t j = Next(i); m_slots[j] != nullptr; j = Next(j)) {
            const size_t home = Home(m_slots[j]);
            if ((j > i && (home <= i || home > j)) || (j < i && home <= i && home > j)) {
                m_slots[i] = m_slots[j];
                m_slots[j] = nullptr;
                i = j;
            }
        }
        delete p;
    }

private:
    size_t Home(const void* p) const {
        return (size_t)(((uint64_t)(uintptr_t)p >> 4) * 0x9E3779B97F4A7C15ULL >> m_nShift);
    }
    size_t Next(size_t i) const { return (i + 1) & (m_slots.size() - 1); }
    void Place(CGdiObjectData* p) {
        size_t i = Home(p);
        while (m_slots[i] != nullptr)
            i = Next(i);
        m_slots[i] = p;
    }
    void Grow() {
        std::vector<CGdiObjectData*> old(m_slots.size() * 2, nullptr);
        old.swap(m_slots);
        --m_nShift;
        for (CGdiObjectData* p : old) {
            if (p != nullptr)
                Place(p);
        }
    }

    std::vector<CGdiObjectData*> m_slots = std::vector<CGdiObjectData*>(64, nullptr);
    int m_nShift = 64 - 6;
    size_t m_nCount = 0;
};

// Never destroyed: objects owned by statics elsewhere may still be deleted during exit.
CObjectTable& Registry() {
    static auto* registry = new CObjectTable;
    return *registry;
}

CGdiObjectData* Lookup(HGDIOBJ h) {
    return Registry().Find(h);
}

// Larger than any picture the program shows; keeps a damaged header from asking for gigabytes.
constexpr int kMaxBitmapSide = 65535;
constexpr int64_t kMaxBitmapBytes = int64_t(1) << 30;

template <class T> int CopyOut(const T& value, int size, void* out) {
    if (!out)
        return (int)sizeof(T);
    if (size < (int)sizeof(T))
        return 0;
    std::memcpy(out, &value, sizeof(T));
    return (int)sizeof(T);
}

} // namespace

CGdiObjectData::~CGdiObjectData() {
    // The wrapper never owned the handle: keep its destructor from deleting it again.
    if (m_pWrapper)
        m_pWrapper->m_hObject = nullptr;
}

HGDIOBJ AfxAddGdiObject(std::unique_ptr<CGdiObjectData> pObject) {
    if (!pObject)
        return nullptr;
    CGdiObjectData* p = pObject.get();
    Registry().Insert(std::move(pObject));
    return reinterpret_cast<HGDIOBJ>(p);
}

CGdiObjectData* AfxGetGdiObject(HGDIOBJ h) {
    return h ? Lookup(h) : nullptr;
}

BOOL AfxDeleteGdiObject(HGDIOBJ h) {
    CGdiObjectData* p = AfxGetGdiObject(h);
    if (!p || p->m_bDeletePending)
        return FALSE;
    if (p->m_bStock)
        return TRUE;
    if (p->m_nSelections > 0) {
        p->m_bDeletePending = true;
        return TRUE;
    }
    Registry().Erase(p);
    return TRUE;
}

CGdiObject* AfxGetGdiWrapper(HGDIOBJ h, int nKind) {
    CGdiObjectData* p = AfxGetGdiObject(h);
    if (!p || (nKind != 0 && p->m_nKind != nKind))
        return nullptr;
    if (!p->m_pWrapper) {
        switch (p->m_nKind) {
        case OBJ_BITMAP:
            p->m_pWrapper = std::make_unique<CBitmap>();
            break;
        case OBJ_BRUSH:
            p->m_pWrapper = std::make_unique<CBrush>();
            break;
        case OBJ_PEN:
            p->m_pWrapper = std::make_unique<CPen>();
            break;
        case OBJ_FONT:
            p->m_pWrapper = std::make_unique<CFont>();
            break;
        default:
            return nullptr;
        }
        p->m_pWrapper->m_hObject = h;
    }
    return p->m_pWrapper.get();
}

void AfxRetainGdiObject(HGDIOBJ h) {
    if (CGdiObjectData* p = AfxGetGdiObject(h))
        ++p->m_nSelections;
}

void AfxReleaseGdiObject(HGDIOBJ h) {
    CGdiObjectData* p = AfxGetGdiObject(h);
    if (!p || p->m_nSelections <= 0)
        return;
    if (--p->m_nSelections == 0 && p->m_bDeletePending)
        Registry().Erase(p);
}

std::unique_ptr<CBitmapData> CBitmapData::Create(int nWidth, int nHeight, int nBitsPerPixel,
                                                 bool bBottomUp, int nRowAlign) {
    if (nWidth <= 0 || nHeight <= 0 || nWidth > kMaxBitmapSide || nHeight > kMaxBitmapSide)
        return nullptr;
    if (nBitsPerPixel != 1 && nBitsPerPixel != 4 && nBitsPerPixel != 8 && nBitsPerPixel != 24 &&
        nBitsPerPixel != 32)
        return nullptr;
    const int64_t rowBits = (int64_t)nWidth * nBitsPerPixel;
    const int64_t stride = (rowBits + nRowAlign * 8 - 1) / (nRowAlign * 8) * nRowAlign;
    const int64_t bytes = stride * nHeight;
    if (bytes > kMaxBitmapBytes)
        return nullptr;
    auto p = std::make_unique<CBitmapData>();
    p->m_words = AllocatePixelMemory((size_t)(bytes + 3) / 4);
    if (!p->m_words)
        return nullptr;
    p->m_nWidth = nWidth;
    p->m_nHeight = nHeight;
    p->m_nBitsPerPixel = nBitsPerPixel;
    p->m_nStride = (int)stride;
    p->m_bBottomUp = bBottomUp;
    p->m_palette[1] = 0xFFFFFF; // monochrome: 0 black, 1 white
    return p;
}

int CBitmapData::GetObject(int size, void* out) const {
    BITMAP bm{};
    bm.bmWidth = m_nWidth;
    bm.bmHeight = m_nHeight;
    bm.bmWidthBytes = m_nStride;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = (WORD)m_nBitsPerPixel;
    // Only DIB sections hand their bits out, as on the platform.
    bm.bmBits = m_bDIBSection ? const_cast<uint8_t*>(Bits()) : nullptr;
    return CopyOut(bm, size, out);
}

CSurface CBitmapData::AsSurface() {
    CSurface s;
    if (m_nBitsPerPixel != 32)
        return s;
    s.pixels = reinterpret_cast<uint32_t*>(Row(0));
    s.width = m_nWidth;
    s.height = m_nHeight;
    s.pitch = (m_bBottomUp ? -1 : 1) * m_nStride / 4;
    return s;
}

uint32_t CBitmapData::PixelAt(int x, int y) const {
    const uint8_t* row = Row(y);
    switch (m_nBitsPerPixel) {
    case 32:
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    case 24: {
        const uint8_t* p = row + x * 3;
        return (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
    }
    case 8:
        return m_palette[row[x]];
    case 4:
        return m_palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F];
    case 1:
        return m_palette[(row[x / 8] >> (7 - x % 8)) & 1];
    }
    return 0;
}

int CBrushData::GetObject(int size, void* out) const {
    LOGBRUSH lb{};
    lb.lbStyle = m_nStyle;
    lb.lbColor = m_nStyle == BS_SOLID ? m_color : 0;
    lb.lbHatch = (ULONG_PTR)m_hPatternBitmap;
    return CopyOut(lb, size, out);
}

int CPenData::GetObject(int size, void* out) const {
    LOGPEN lp{};
    lp.lopnStyle = m_nStyle;
    lp.lopnWidth.x = m_nWidth;
    lp.lopnWidth.y = 0;
    lp.lopnColor = m_color;
    return CopyOut(lp, size, out);
}
