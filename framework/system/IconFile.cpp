#include "framework/system/IconFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const int ICON_TYPE = 1;
const int CURSOR_TYPE = 2;
const size_t DIR_SIZE = 6;
const size_t ENTRY_SIZE = 16;
const size_t INFO_HEADER_SIZE = 40;
const uint32_t OPAQUE_BLACK = 0xFF000000u;

uint16_t U16(const uint8_t* p) {
    return (uint16_t)(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

struct DirEntry {
    int width, height; // from the directory, for choosing only
    int bitCount;
    int hotX, hotY;
    uint32_t bytes, offset;
};

// Bytes of one row of `width` pixels at `bits` per pixel, padded to four bytes.
size_t Stride(int width, int bits) {
    return (((size_t)width * (size_t)bits + 31) / 32) * 4;
}

// One image's bytes inside the file, checked once; every read below stays inside them.
class ImageReader {
public:
    ImageReader(const uint8_t* p, size_t n) : m_p(p), m_n(n) {}

    bool Decode(const DirEntry& e, int fileType, BackendImage& out) {
        if (m_n < INFO_HEADER_SIZE)
            return false;
        uint32_t headerSize = U32(m_p);
        int32_t width = (int32_t)U32(m_p + 4);
        int32_t height2 = (int32_t)U32(m_p + 8);
        int planes = U16(m_p + 12);
        int bits = U16(m_p + 14);
        uint32_t compression = U32(m_p + 16);
        uint32_t clrUsed = U32(m_p + 32);
        if (headerSize < INFO_HEADER_SIZE || headerSize > m_n || planes != 1 || compression != 0)
            return false;
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
            return false;
        // The height counts the colour image and the mask below it.
        if (width <= 0 || width > CIconFile::MAX_SIZE || height2 <= 0 || height2 % 2 != 0 ||
            height2 / 2 > CIconFile::MAX_SIZE)
            return false;
        m_width = width;
        m_height = height2 / 2;
        m_bits = bits;
        size_t paletteCount = bits <= 8 ? (clrUsed ? clrUsed : (1u << bits)) : 0;
        if (paletteCount > (1u << (bits <= 8 ? bits : 0)))
            return false;
        size_t pos = headerSize;
        if (paletteCount * 4 > m_n - pos)
            return false;
        m_palette = m_p + pos;
        m_paletteCount = paletteCount;
        pos += paletteCount * 4;
        size_t colourBytes = Stride(m_width, bits) * (size_t)m_height;
        if (colourBytes > m_n - pos)
            return false;
        m_colour = m_p + pos;
        pos += colourBytes;
        size_t maskBytes = Stride(m_width, 1) * (size_t)m_height;
        // Some 32-bit images leave the mask out and rely on their alpha alone.
        m_mask = maskBytes <= m_n - pos ? m_p + pos : nullptr;
        if (!m_mask && bits != 32)
            return false;

        out.width = m_width;
        out.height = m_height;
        out.pixels.assign((size_t)m_width * (size_t)m_height, 0);
        bool alpha = bits == 32 && HasAlpha();
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                out.pixels[(size_t)y * m_width + x] = Pixel(x, m_height - 1 - y, alpha);
        if (fileType == CURSOR_TYPE) {
            out.hotX = e.hotX < m_width ? e.hotX : m_width - 1;
            out.hotY = e.hotY < m_height ? e.hotY : m_height - 1;
        }
        return true;
    }

private:
    // Row r counts from the bottom, as the file stores them.
    uint32_t Pixel(int x, int r, bool alpha) const {
        bool masked = m_mask && (m_mask[Stride(m_width, 1) * r + x / 8] >> (7 - x % 8)) & 1;
        const uint8_t* row = m_colour + Stride(m_width, m_bits) * r;
        if (m_bits == 32) {
            const uint8_t* q = row + 4 * x;
            uint32_t rgb = ((uint32_t)q[2] << 16) | ((uint32_t)q[1] << 8) | q[0];
            if (alpha)
                return ((uint32_t)q[3] << 24) | rgb;
            return masked ? 0 : OPAQUE_BLACK | rgb;
        }
        if (m_bits == 24) {
            const uint8_t* q = row + 3 * x;
            return masked ? 0
                          : OPAQUE_BLACK | ((uint32_t)q[2] << 16) | ((uint32_t)q[1] << 8) | q[0];
        }
        int index = Index(row, x);
        if (m_bits == 1 && masked) {
            // Mask set and colour set means "invert the screen": we show it black, as a cursor
            // outline usually is; mask set and colour clear is see-through.
            return index ? OPAQUE_BLACK : 0;
        }
        if (masked)
            return 0;
        if ((size_t)index >= m_paletteCount)
            return OPAQUE_BLACK;
        const uint8_t* c = m_palette + 4 * index;
        return OPAQUE_BLACK | ((uint32_t)c[2] << 16) | ((uint32_t)c[1] << 8) | c[0];
    }

    int Index(const uint8_t* row, int x) const {
        switch (m_bits) {
        case 1:
            return (row[x / 8] >> (7 - x % 8)) & 1;
        case 4:
            return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
        default:
            return row[x];
        }
    }

    bool HasAlpha() const {
        for (int r = 0; r < m_height; ++r) {
            const uint8_t* row = m_colour + Stride(m_width, 32) * r;
            for (int x = 0; x < m_width; ++x)
                if (row[4 * x + 3])
                    return true;
        }
        return false;
    }

    const uint8_t* m_p;
    size_t m_n;
    int m_width = 0, m_height = 0, m_bits = 0;
    const uint8_t* m_palette = nullptr;
    size_t m_paletteCount = 0;
    const uint8_t* m_colour = nullptr;
    const uint8_t* m_mask = nullptr;
};

int Distance(const DirEntry& e, int preferred) {
    return std::abs(e.width - preferred) + std::abs(e.height - preferred);
}

} // namespace

BOOL CIconFile::Decode(const void* data, size_t size, BackendImage& image, int preferredSize) {
    image = BackendImage();
    const uint8_t* p = (const uint8_t*)data;
    if (!p || size < DIR_SIZE || U16(p) != 0)
        return FALSE;
    int type = U16(p + 2);
    size_t count = U16(p + 4);
    if ((type != ICON_TYPE && type != CURSOR_TYPE) || count == 0)
        return FALSE;
    if (count > (size - DIR_SIZE) / ENTRY_SIZE)
        return FALSE;

    int best = -1;
    DirEntry chosen = {};
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* q = p + DIR_SIZE + i * ENTRY_SIZE;
        DirEntry e;
        e.width = q[0] ? q[0] : 256;
        e.height = q[1] ? q[1] : 256;
        e.hotX = U16(q + 4);
        e.hotY = U16(q + 6);
        e.bitCount = type == ICON_TYPE ? U16(q + 6) : 0;
        e.bytes = U32(q + 8);
        e.offset = U32(q + 12);
        if (e.offset > size || e.bytes > size - e.offset)
            continue;
        bool better = best < 0 || Distance(e, preferredSize) < Distance(chosen, preferredSize) ||
                      (Distance(e, preferredSize) == Distance(chosen, preferredSize) &&
                       e.bitCount > chosen.bitCount);
        if (better) {
            best = (int)i;
            chosen = e;
        }
    }
    if (best < 0)
        return FALSE;
    ImageReader reader(p + chosen.offset, chosen.bytes);
    if (!reader.Decode(chosen, type, image)) {
        image = BackendImage();
        return FALSE;
    }
    return TRUE;
}
