#include "framework/gdi/BmpReader.h"

#include <cstring>

#include "framework/gdi/GdiObject.h"
#include "framework/gdi/GdiObjectData.h"
#include "framework/system/Resources.h"

namespace {

uint32_t Read32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24;
}

// One channel of a BI_BITFIELDS or 5-5-5 pixel, widened to 8 bits by repeating its top bits.
struct CChannel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit CChannel(uint32_t m) : mask(m) {
        if (!m)
            return;
        while (!((m >> shift) & 1))
            ++shift;
        while (bits + shift < 32 && ((m >> (shift + bits)) & 1))
            ++bits;
    }
    uint32_t Expand(uint32_t pixel) const {
        if (!bits)
            return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return v >> (bits - 8);
        uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits)
            out = out << bits | v;
        return out >> (((8 + bits - 1) / bits) * bits - 8);
    }
};

struct CBmpLayout {
    int width = 0, height = 0, bpp = 0;
    bool bottomUp = true;
    uint32_t masks[3] = {};
    size_t bitsOffset = 0, stride = 0;
    uint32_t palette[256] = {}; // 0x00RRGGBB
};

bool ParseHeaders(const uint8_t* p, size_t size, CBmpLayout& out) {
    if (size < 14 + 40 || p[0] != 'B' || p[1] != 'M')
        return false;
    const uint32_t offBits = Read32(p + 10);
    const uint32_t infoSize = Read32(p + 14);
    if (infoSize < 40 || infoSize > size - 14)
        return false;
    const uint8_t* bih = p + 14;
    const int32_t width = (int32_t)Read32(bih + 4);
    const int32_t height = (int32_t)Read32(bih + 8);
    const int planes = bih[12] | bih[13] << 8;
    const int bpp = bih[14] | bih[15] << 8;
    const uint32_t compression = Read32(bih + 16);
    const uint32_t clrUsed = Read32(bih + 32);
    if (planes != 1 || width <= 0 || height == 0 || height == INT32_MIN)
        return false;
    out.width = width;
    out.height = height < 0 ? -height : height;
    out.bottomUp = height > 0;
    out.bpp = bpp;
    if (out.width > 65535 || out.height > 65535)
        return false;
    size_t after = 14 + infoSize;
    if (compression == BI_BITFIELDS) {
        if (bpp != 16 && bpp != 32)
            return false;
        // A 40-byte header is followed by the three masks; larger headers hold them inside.
        const uint8_t* m = infoSize >= 52 ? bih + 40 : p + after;
        if (infoSize < 52) {
            if (size < after + 12)
                return false;
            after += 12;
        }
        for (int i = 0; i < 3; ++i)
            out.masks[i] = Read32(m + 4 * i);
    } else if (compression == BI_RGB) {
        if (bpp == 16)
            out.masks[0] = 0x7C00, out.masks[1] = 0x03E0, out.masks[2] = 0x001F;
        else if (bpp == 32)
            out.masks[0] = 0xFF0000, out.masks[1] = 0xFF00, out.masks[2] = 0xFF;
        else if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24)
            return false;
    } else {
        return false;
    }
    if (bpp <= 8) {
        const int max = 1 << bpp;
        const int count = clrUsed > 0 && clrUsed < (uint32_t)max ? (int)clrUsed : max;
        if (size - after < (size_t)count * 4)
            return false;
        for (int i = 0; i < count; ++i) {
            const uint8_t* q = p + after + 4 * i;
            out.palette[i] = (uint32_t)q[2] << 16 | (uint32_t)q[1] << 8 | q[0];
        }
    }
    out.stride = ((size_t)out.width * (size_t)bpp + 31) / 32 * 4;
    out.bitsOffset = offBits;
    return offBits <= size && (size - offBits) / out.stride >= (size_t)out.height;
}

void ConvertRow(const CBmpLayout& bmp, const uint8_t* src, uint32_t* dst) {
    const uint32_t* palette = bmp.palette;
    const CChannel r(bmp.masks[0]), g(bmp.masks[1]), b(bmp.masks[2]);
    for (int x = 0; x < bmp.width; ++x) {
        switch (bmp.bpp) {
        case 1:
            dst[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1];
            break;
        case 4:
            dst[x] = palette[(src[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F];
            break;
        case 8:
            dst[x] = palette[src[x]];
            break;
        case 24:
            dst[x] = (uint32_t)src[3 * x + 2] << 16 | (uint32_t)src[3 * x + 1] << 8 | src[3 * x];
            break;
        default: {
            const uint32_t v =
                bmp.bpp == 16 ? (uint32_t)(src[2 * x] | src[2 * x + 1] << 8) : Read32(src + 4 * x);
            dst[x] = r.Expand(v) << 16 | g.Expand(v) << 8 | b.Expand(v);
        }
        }
    }
}

} // namespace

HBITMAP AfxReadBmp(const void* data, size_t size) {
    if (!data)
        return nullptr;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    CBmpLayout bmp;
    if (!ParseHeaders(p, size, bmp))
        return nullptr;
    auto bitmap = CBitmapData::Create(bmp.width, bmp.height, 32, false, 4);
    if (!bitmap)
        return nullptr;
    for (int y = 0; y < bmp.height; ++y) {
        const int fileRow = bmp.bottomUp ? bmp.height - 1 - y : y;
        ConvertRow(bmp, p + bmp.bitsOffset + (size_t)fileRow * bmp.stride,
                   reinterpret_cast<uint32_t*>(bitmap->Row(y)));
    }
    return (HBITMAP)AfxAddGdiObject(std::move(bitmap));
}

HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name) {
    HRSRC res = FindResource(instance, name, RT_BITMAP);
    if (!res)
        return nullptr;
    return AfxReadBmp(LockResource(LoadResource(instance, res)), SizeofResource(instance, res));
}
