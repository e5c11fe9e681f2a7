#if defined(__GNUC__) && !defined(__clang__)
// The scaling loops are the hottest code of the program; they need the vectoriser.
#pragma GCC optimize("O3")
#endif

#include "framework/gdi/Blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/gdi/RasterOps.h"

namespace {

// Rows of the source as bytes: 32-bit surfaces and bitmaps as they are (B, G, R, X), 24-bit
// bitmaps as they are (B, G, R), any other depth converted to 32 bits into a scratch row.
class CSourceRows {
public:
    explicit CSourceRows(const BLIT_SOURCE& source) : m_source(source) {
        const CBitmapData* bm = source.pBitmap;
        m_nBytes = bm && bm->m_nBitsPerPixel == 24 ? 3 : 4;
        if (bm && bm->m_nBitsPerPixel < 24)
            m_scratch.resize((size_t)bm->m_nWidth);
    }
    int BytesPerPixel() const { return m_nBytes; }
    bool IsBottomUp() const { return m_source.pBitmap && m_source.pBitmap->m_bBottomUp; }
    const uint8_t* Row(int y) {
        const CBitmapData* bm = m_source.pBitmap;
        if (!bm)
            return reinterpret_cast<const uint8_t*>(m_source.surface.Row(y));
        if (bm->m_nBitsPerPixel >= 24)
            return bm->Row(y);
        for (int x = 0; x < bm->m_nWidth; ++x)
            m_scratch[(size_t)x] = bm->PixelAt(x, y);
        return reinterpret_cast<const uint8_t*>(m_scratch.data());
    }
    static uint32_t Pixel(const uint8_t* p) {
        return (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
    }

private:
    const BLIT_SOURCE& m_source;
    int m_nBytes = 4;
    std::vector<uint32_t> m_scratch;
};

template <class Op>
void CopyRows(const CSurface& target, const CRect& rc, CSourceRows& rows, CPoint src) {
    const int bytes = rows.BytesPerPixel();
    for (int y = rc.top; y < rc.bottom; ++y) {
        const uint8_t* s = rows.Row(src.y + y - rc.top) + (size_t)src.x * bytes;
        uint32_t* d = target.Row(y) + rc.left;
        for (int x = 0; x < rc.Width(); ++x, s += bytes)
            d[x] = Op::Apply(d[x], CSourceRows::Pixel(s));
    }
}

// Which source pixels each target pixel covers, along one axis: target pixel t takes
// source pixels first[t] .. first[t] + count[t] − 1 with weights that add up to the source
// length (the overlap of the two pixels measured in 1/target-length of a source pixel).
struct CAxisWeights {
    std::vector<int> first, count, offset;
    std::vector<uint32_t> weights;

    CAxisWeights(int srcStart, int srcLength, int dstLength, int from, int to) {
        for (int t = from; t < to; ++t) {
            const int64_t lo = (int64_t)t * srcLength, hi = lo + srcLength;
            const int i0 = (int)(lo / dstLength), i1 = (int)((hi + dstLength - 1) / dstLength);
            first.push_back(srcStart + i0);
            count.push_back(i1 - i0);
            offset.push_back((int)weights.size());
            for (int i = i0; i < i1; ++i) {
                const int64_t a = std::max<int64_t>(lo, (int64_t)i * dstLength);
                const int64_t b = std::min<int64_t>(hi, (int64_t)(i + 1) * dstLength);
                weights.push_back((uint32_t)(b - a));
            }
        }
    }
};

// acc[k] (+)= w · src[k]: the inner loop of the area average, built for wide vector units too.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) &&                             \
    defined(__ELF__) // clones need ifunc
__attribute__((target_clones("avx2", "default")))
#endif
void AccumulateRow(uint32_t* __restrict acc, const uint8_t* __restrict src, size_t n, uint16_t w, bool first) {
    if (first)
        for (size_t k = 0; k < n; ++k)
            acc[k] = (uint32_t)src[k] * w;
    else
        for (size_t k = 0; k < n; ++k)
            acc[k] += (uint32_t)(uint16_t)src[k] * w;
}

// Area average: each target row sums its source rows into `acc` (weighted, per byte), then
// each target pixel sums its columns of `acc`. Sums stay in integers of type Sum.
template <class Sum>
void Halftone(const CSurface& target, const CRect& dst, const CRect& vis, CSourceRows& rows,
              const CRect& src) {
    const int bytes = rows.BytesPerPixel();
    const CAxisWeights wx(src.left, src.Width(), dst.Width(), vis.left - dst.left,
                          vis.right - dst.left);
    const CAxisWeights wy(src.top, src.Height(), dst.Height(), vis.top - dst.top,
                          vis.bottom - dst.top);
    const int colFirst = wx.first.front();
    const int colEnd = wx.first.back() + wx.count.back();
    const size_t span = (size_t)(colEnd - colFirst) * bytes;
    std::vector<uint32_t> acc(span);
    const double scale = 1.0 / ((double)src.Width() * (double)src.Height());
    // Walk the source in memory order: bottom-up bitmaps from their last target row.
    const bool upward = rows.IsBottomUp();
    const int nRows = (int)wy.first.size();
    for (int n = 0; n < nRows; ++n) {
        const size_t r = (size_t)(upward ? nRows - 1 - n : n);
        for (int m = 0; m < wy.count[r]; ++m) {
            const int j = upward ? wy.count[r] - 1 - m : m;
            const uint8_t* s = rows.Row(wy.first[r] + j) + (size_t)colFirst * bytes;
            AccumulateRow(acc.data(), s, span, (uint16_t)wy.weights[(size_t)(wy.offset[r] + j)],
                          m == 0);
        }
        uint32_t* out = target.Row(vis.top + (int)r) + vis.left;
        for (size_t c = 0; c < wx.first.size(); ++c) {
            Sum b = 0, g = 0, red = 0;
            const uint32_t* a = acc.data() + (size_t)(wx.first[c] - colFirst) * bytes;
            const uint32_t* w = wx.weights.data() + wx.offset[c];
            for (int i = 0; i < wx.count[c]; ++i, a += bytes) {
                b += (Sum)w[i] * a[0];
                g += (Sum)w[i] * a[1];
                red += (Sum)w[i] * a[2];
            }
            out[c] = (uint32_t)((double)red * scale + 0.5) << 16 |
                     (uint32_t)((double)g * scale + 0.5) << 8 | (uint32_t)((double)b * scale + 0.5);
        }
    }
}

// Nearest: each target pixel takes the source pixel under its centre.
void Nearest(const CSurface& target, const CRect& dst, const CRect& vis, CSourceRows& rows,
             const CRect& src) {
    const int bytes = rows.BytesPerPixel();
    std::vector<int> columns;
    for (int x = vis.left; x < vis.right; ++x)
        columns.push_back(src.left + (int)(((int64_t)(x - dst.left) * 2 + 1) * src.Width() /
                                           (2 * (int64_t)dst.Width())));
    for (int y = vis.top; y < vis.bottom; ++y) {
        const int sy = src.top + (int)(((int64_t)(y - dst.top) * 2 + 1) * src.Height() /
                                       (2 * (int64_t)dst.Height()));
        const uint8_t* s = rows.Row(sy);
        uint32_t* d = target.Row(y) + vis.left;
        for (size_t i = 0; i < columns.size(); ++i)
            d[i] = CSourceRows::Pixel(s + (size_t)columns[i] * bytes);
    }
}

// One axis of the smooth scale: target pixel t mixes source pixels i0 and i1, i1 with weight
// w (in 256ths), around the source point under the target pixel's centre.
struct CSmoothTap {
    int i0, i1;
    uint32_t w;
};

std::vector<CSmoothTap> SmoothTaps(int from, int to, int dstStart, int dstLength, int srcStart,
                                   int srcLength) {
    std::vector<CSmoothTap> taps;
    const int64_t last = (int64_t)(srcLength - 1) * 256;
    for (int t = from; t < to; ++t) {
        int64_t at = ((int64_t)(t - dstStart) * 2 + 1) * srcLength * 256 / (2 * (int64_t)dstLength);
        at = std::min<int64_t>(std::max<int64_t>(at - 128, 0), last);
        const int i0 = (int)(at >> 8);
        taps.push_back(CSmoothTap{srcStart + i0, srcStart + std::min(i0 + 1, srcLength - 1),
                                  (uint32_t)(at & 255)});
    }
    return taps;
}

// Bilinear mixing of the first kChannels bytes of each pixel; the rest of the target pixel is 0.
template <int kChannels>
void Smooth(const CSurface& target, const CRect& dst, const CRect& vis, CSourceRows& rows,
            const CRect& src) {
    const int bytes = rows.BytesPerPixel();
    const std::vector<CSmoothTap> xs =
        SmoothTaps(vis.left, vis.right, dst.left, dst.Width(), src.left, src.Width());
    const std::vector<CSmoothTap> ys =
        SmoothTaps(vis.top, vis.bottom, dst.top, dst.Height(), src.top, src.Height());
    const int colFirst = xs.front().i0;
    const size_t span = (size_t)(xs.back().i1 + 1 - colFirst) * bytes;
    std::vector<uint8_t> upper(span); // a low-depth source converts each row into one buffer
    for (size_t r = 0; r < ys.size(); ++r) {
        std::memcpy(upper.data(), rows.Row(ys[r].i0) + (size_t)colFirst * bytes, span);
        const uint8_t* lower = rows.Row(ys[r].i1) + (size_t)colFirst * bytes;
        const uint32_t wy = ys[r].w;
        uint32_t* out = target.Row(vis.top + (int)r) + vis.left;
        for (size_t c = 0; c < xs.size(); ++c) {
            const size_t a = (size_t)(xs[c].i0 - colFirst) * bytes;
            const size_t b = (size_t)(xs[c].i1 - colFirst) * bytes;
            const uint32_t wx = xs[c].w;
            uint32_t pixel = 0;
            for (int k = 0; k < kChannels; ++k) {
                const uint32_t top = upper[a + k] * (256 - wx) + upper[b + k] * wx;
                const uint32_t bottom = lower[a + k] * (256 - wx) + lower[b + k] * wx;
                pixel |= ((top * (256 - wy) + bottom * wy + 32768) >> 16) << (8 * k);
            }
            out[c] = pixel;
        }
    }
}

uint32_t Premultiplied(uint32_t p) {
    const uint32_t a = p >> 24;
    uint32_t out = a << 24;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= (((p >> shift) & 0xFF) * a + 127) / 255 << shift;
    return out;
}

// A premultiplied pixel over a destination pixel.
uint32_t Over(uint32_t d, uint32_t p) {
    const uint32_t a = p >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t v = ((p >> shift) & 0xFF) + (((d >> shift) & 0xFF) * (255 - a) + 127) / 255;
        out |= std::min<uint32_t>(v, 255) << shift;
    }
    return out;
}

bool SharesPixels(const CSurface& target, const BLIT_SOURCE& source) {
    return !source.pBitmap && source.surface.pixels == target.pixels;
}

// A copy of the source's rectangle, for copies within one surface.
BLIT_SOURCE Snapshot(const BLIT_SOURCE& source, const CRect& rc, std::vector<uint32_t>& store) {
    store.resize((size_t)rc.Width() * (size_t)rc.Height());
    BLIT_SOURCE copy;
    copy.surface.pixels = store.data() - rc.left - (ptrdiff_t)rc.top * rc.Width();
    copy.surface.width = rc.right;
    copy.surface.height = rc.bottom;
    copy.surface.pitch = rc.Width();
    for (int y = rc.top; y < rc.bottom; ++y)
        std::memcpy(copy.surface.Row(y) + rc.left, source.surface.Row(y) + rc.left,
                    (size_t)rc.Width() * 4);
    return copy;
}

} // namespace

BOOL RasterBitBlt(const CSurface& target, const CRect& clip, const CRect& dst,
                  const BLIT_SOURCE& source, CPoint src, DWORD rop) {
    if (CombiningRow(rop, ROP_SOURCE) < 0)
        return FALSE;
    // Cut to the source's pixels first, moving the target edges with it, then to the clip.
    CRect srcRect(src.x, src.y, src.x + dst.Width(), src.y + dst.Height());
    CRect have;
    if (!have.IntersectRect(srcRect, CRect(0, 0, source.Width(), source.Height())))
        return TRUE;
    CRect vis(dst.left + have.left - src.x, dst.top + have.top - src.y,
              dst.left + have.right - src.x, dst.top + have.bottom - src.y);
    if (!vis.IntersectRect(vis, clip))
        return TRUE;
    const CPoint from(src.x + vis.left - dst.left, src.y + vis.top - dst.top);
    std::vector<uint32_t> store;
    const BLIT_SOURCE used =
        SharesPixels(target, source) ? Snapshot(source, CRect(from, vis.Size()), store) : source;
    CSourceRows rows(used);
    WithCombiningOp(rop, ROP_SOURCE,
                    [&](auto op) { CopyRows<decltype(op)>(target, vis, rows, from); });
    return TRUE;
}

void RasterStretchBlt(const CSurface& target, const CRect& clip, const CRect& dst,
                      const BLIT_SOURCE& source, const CRect& src, int mode) {
    CRect from, vis;
    if (dst.IsRectEmpty() || src.IsRectEmpty())
        return;
    if (!from.IntersectRect(src, CRect(0, 0, source.Width(), source.Height())) || from != src) {
        // Part of the source lies outside its pixels: scale what there is onto the share of
        // the target that it maps to.
        if (from.IsRectEmpty())
            return;
        const CRect part(
            dst.left + (int)((int64_t)(from.left - src.left) * dst.Width() / src.Width()),
            dst.top + (int)((int64_t)(from.top - src.top) * dst.Height() / src.Height()),
            dst.left + (int)((int64_t)(from.right - src.left) * dst.Width() / src.Width()),
            dst.top + (int)((int64_t)(from.bottom - src.top) * dst.Height() / src.Height()));
        RasterStretchBlt(target, clip, part, source, from, mode);
        return;
    }
    if (!vis.IntersectRect(dst, clip))
        return;
    std::vector<uint32_t> store;
    const BLIT_SOURCE used = SharesPixels(target, source) ? Snapshot(source, src, store) : source;
    CSourceRows rows(used);
    // Row weights are 16-bit: taller sources (none the program has) take the nearest pixel.
    if (mode == STRETCH_SMOOTH)
        Smooth<3>(target, dst, vis, rows, src);
    else if (mode != HALFTONE || src.Height() > 65535)
        Nearest(target, dst, vis, rows, src);
    else if ((int64_t)src.Width() * src.Height() < (int64_t(1) << 24))
        Halftone<uint32_t>(target, dst, vis, rows, src);
    else
        Halftone<uint64_t>(target, dst, vis, rows, src);
}

BOOL RasterStretchRop(const CSurface& target, const CRect& clip, const CRect& dst,
                      const BLIT_SOURCE& source, const CRect& src, int mode, DWORD rop) {
    if (rop == SRCCOPY) {
        RasterStretchBlt(target, clip, dst, source, src, mode);
        return TRUE;
    }
    if (CombiningRow(rop, ROP_SOURCE) < 0)
        return FALSE;
    // Scaled first into a scratch surface the size of what shows, then combined.
    CRect vis;
    if (!vis.IntersectRect(dst, clip))
        return TRUE;
    std::vector<uint32_t> store((size_t)vis.Width() * (size_t)vis.Height());
    BLIT_SOURCE scaled;
    scaled.surface = CSurface{store.data(), vis.Width(), vis.Height(), vis.Width()};
    CRect at = dst;
    at.OffsetRect(-vis.left, -vis.top);
    RasterStretchBlt(scaled.surface, scaled.surface.Bounds(), at, source, src, mode);
    return RasterBitBlt(target, vis, vis, scaled, CPoint(0, 0), rop);
}

void RasterBlendScaled(const CSurface& target, const CRect& clip, const CRect& dst,
                       const uint32_t* pixels, int w, int h, const uint32_t* pUnder) {
    CRect vis;
    if (w <= 0 || h <= 0 || dst.IsRectEmpty() || !vis.IntersectRect(dst, clip))
        return;
    // Mixed premultiplied, so that transparent pixels lend no colour to their neighbours.
    std::vector<uint32_t> image((size_t)w * (size_t)h);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = Premultiplied(pixels[i]);
    BLIT_SOURCE source;
    source.surface = CSurface{image.data(), w, h, w};
    std::vector<uint32_t> store((size_t)vis.Width() * (size_t)vis.Height());
    const CSurface scaled{store.data(), vis.Width(), vis.Height(), vis.Width()};
    CRect at = dst;
    at.OffsetRect(-vis.left, -vis.top);
    CSourceRows rows(source);
    Smooth<4>(scaled, at, scaled.Bounds(), rows, CRect(0, 0, w, h));
    for (int y = vis.top; y < vis.bottom; ++y) {
        uint32_t* d = target.Row(y);
        const uint32_t* p = scaled.Row(y - vis.top);
        for (int x = vis.left; x < vis.right; ++x)
            d[x] = Over(pUnder ? *pUnder : d[x], p[x - vis.left]);
    }
}
