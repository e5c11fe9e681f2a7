#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "GdiTestSupport.h"

namespace {

// A 24-bit bottom-up DIB section as the picture decoder makes it; rows are given top first.
HBITMAP MakePicture24(const std::vector<std::vector<uint32_t>>& rowsTopFirst) {
    const int h = (int)rowsTopFirst.size(), w = (int)rowsTopFirst[0].size();
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP hbm = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_NE(bits, nullptr);
    const int stride = (w * 3 + 3) / 4 * 4;
    for (int k = 0; k < h; ++k) { // memory row k is picture row h-1-k
        BYTE* row = static_cast<BYTE*>(bits) + k * stride;
        for (int x = 0; x < w; ++x) {
            const uint32_t p = rowsTopFirst[(size_t)(h - 1 - k)][(size_t)x];
            row[3 * x] = (BYTE)p, row[3 * x + 1] = (BYTE)(p >> 8), row[3 * x + 2] = (BYTE)(p >> 16);
        }
    }
    return hbm;
}

const std::map<uint32_t, char> LEGEND = {{0, '.'},        {0x111111, 'a'}, {0x222222, 'b'},
                                         {0x333333, 'c'}, {0x444444, 'd'}, {0x555555, 'e'},
                                         {0x666666, 'f'}};

TEST(Blit, PicturesCopyUprightAndOnlyWhereTargetAndSourceOverlap) {
    CBitmap picture;
    picture.Attach(MakePicture24({{0x111111, 0x222222, 0x333333}, {0x444444, 0x555555, 0x666666}}));
    BITMAP bm;
    ASSERT_EQ(picture.GetBitmap(&bm), (int)sizeof bm);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmBitsPixel, 24);
    EXPECT_EQ(bm.bmWidthBytes, 12);
    EXPECT_NE(bm.bmBits, nullptr);
    struct Case {
        int x, y, w, h, xs, ys;
        std::string expected;
    } cases[] = {
        {1, 1, 3, 2, 0, 0, Rows({".....", ".abc.", ".def.", "....."})},
        {-1, -1, 3, 2, 0, 0, Rows({"ef...", ".....", ".....", "....."})},
        {3, 2, 3, 2, 0, 0, Rows({".....", ".....", "...ab", "...de"})},
        {0, 0, 5, 4, 1, 1, Rows({"ef...", ".....", ".....", "....."})}, // source runs out
        {0, 0, 5, 4, -2, 0, Rows({"..abc", "..def", ".....", "....."})},
        {0, 0, 0, 4, 0, 0, Rows({".....", ".....", ".....", "....."})},
    };
    for (const Case& c : cases) {
        CTestSurface s(5, 4);
        CSurfaceDC dc(s);
        CDC mem;
        ASSERT_TRUE(mem.CreateCompatibleDC(&dc));
        CBitmap* old = mem.SelectObject(&picture);
        dc.BitBlt(c.x, c.y, c.w, c.h, &mem, c.xs, c.ys, SRCCOPY);
        mem.SelectObject(old);
        EXPECT_EQ(s.Picture(LEGEND), c.expected)
            << c.x << "," << c.y << " from " << c.xs << "," << c.ys;
    }
}

TEST(Blit, MemoryBitmapsTakeDrawingAndCopyBackWithinTheClip) {
    CTestSurface s(4, 3);
    const CRect clip(1, 0, 4, 2);
    CSurfaceDC dc(s, CPoint(), &clip);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap offscreen;
    ASSERT_TRUE(offscreen.CreateCompatibleBitmap(&dc, 4, 3));
    CBitmap* old = mem.SelectObject(&offscreen);
    mem.FillSolidRect(0, 0, 4, 3, 0x111111);
    mem.FillSolidRect(1, 1, 2, 1, 0x222222);
    dc.BitBlt(0, 0, 4, 3, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
    EXPECT_EQ(s.Picture(LEGEND), Rows({".aaa", ".bba", "...."}));
}

TEST(Blit, HalftoneAveragesTheAreaUnderEachTargetPixel) {
    struct Case {
        std::vector<std::vector<uint32_t>> source;
        CSize target;
        std::vector<uint32_t> expected; // rows top first
    } cases[] = {
        // 2 × 2 blocks average exactly, per channel.
        {{{0x000000, 0x040404, 0x102030, 0x102030}, {0x080808, 0x0C0C0C, 0x102030, 0x102030}},
         {2, 1},
         {0x060606, 0x102030}},
        // Three pixels onto two: weights 2:1 and 1:2, rounded to nearest.
        {{{0x000000, 0x5A5A5A, 0xB4B4B4}}, {2, 1}, {0x1E1E1E, 0x969696}},
        // Unscaled is a copy; enlarging spreads each pixel.
        {{{0x102030, 0x405060}}, {2, 1}, {0x102030, 0x405060}},
        {{{0x000000, 0x404040}}, {4, 1}, {0x000000, 0x000000, 0x404040, 0x404040}},
        {{{0x000000}, {0x0A0A0A}, {0x141414}, {0x1E1E1E}}, {1, 2}, {0x050505, 0x191919}},
    };
    for (const Case& c : cases) {
        CBitmap picture;
        picture.Attach(MakePicture24(c.source));
        const int sw = (int)c.source[0].size(), sh = (int)c.source.size();
        CTestSurface s(c.target.cx + 2, c.target.cy + 2, 0xFFFFFF);
        CSurfaceDC dc(s);
        CDC mem;
        mem.CreateCompatibleDC(&dc);
        CBitmap* old = mem.SelectObject(&picture);
        EXPECT_EQ(dc.SetStretchBltMode(HALFTONE), BLACKONWHITE);
        dc.StretchBlt(1, 1, c.target.cx, c.target.cy, &mem, 0, 0, sw, sh, SRCCOPY);
        mem.SelectObject(old);
        std::vector<uint32_t> got;
        int outside = 0;
        for (int y = 0; y < s.Surface().height; ++y)
            for (int x = 0; x < s.Surface().width; ++x) {
                const bool in = x >= 1 && y >= 1 && x <= c.target.cx && y <= c.target.cy;
                if (in)
                    got.push_back(s.At(x, y));
                else
                    outside += s.At(x, y) != 0xFFFFFF;
            }
        EXPECT_EQ(got, c.expected)
            << sw << "x" << sh << " to " << c.target.cx << "x" << c.target.cy;
        EXPECT_EQ(outside, 0);
    }
}

TEST(Blit, ScalingModesShareSizesAndClipping) {
    // A 40 × 30 picture of vertical stripes scaled into 8 × 6, partly clipped away.
    std::vector<std::vector<uint32_t>> stripes(30, std::vector<uint32_t>(40));
    for (auto& row : stripes)
        for (int x = 0; x < 40; ++x)
            row[(size_t)x] = x < 20 ? 0x202020 : 0x606060;
    CBitmap picture;
    picture.Attach(MakePicture24(stripes));
    for (int mode : {HALFTONE, COLORONCOLOR}) {
        CTestSurface s(10, 8);
        const CRect clip(0, 0, 6, 8);
        CSurfaceDC dc(s, CPoint(), &clip);
        CDC mem;
        mem.CreateCompatibleDC(&dc);
        CBitmap* old = mem.SelectObject(&picture);
        dc.SetStretchBltMode(mode);
        EXPECT_TRUE(dc.StretchBlt(1, 1, 8, 6, &mem, 0, 0, 40, 30, SRCCOPY));
        mem.SelectObject(old);
        // Columns 6 and 7 of the target lie outside the clip.
        const std::string expected = Rows({"..........", ".11112....", ".11112....", ".11112....",
                                           ".11112....", ".11112....", ".11112....", ".........."});
        EXPECT_EQ(s.Picture({{0, '.'}, {0x202020, '1'}, {0x606060, '2'}}), expected) << mode;
    }
}

} // namespace

namespace {

// The exact mean of the source area under target pixel (x, y), one channel, by brute force.
double AreaMean(const std::vector<std::vector<uint32_t>>& src, const CRect& from, CSize to, int x,
                int y, int shift) {
    const double sx = (double)from.Width() / to.cx, sy = (double)from.Height() / to.cy;
    const double x0 = from.left + x * sx, x1 = x0 + sx, y0 = from.top + y * sy, y1 = y0 + sy;
    double sum = 0;
    for (int j = (int)y0; j < y1 && j < from.bottom; ++j)
        for (int i = (int)x0; i < x1 && i < from.right; ++i) {
            const double w = (std::min(x1, i + 1.0) - std::max(x0, (double)i)) *
                             (std::min(y1, j + 1.0) - std::max(y0, (double)j));
            sum += w * ((src[(size_t)j][(size_t)i] >> shift) & 0xFF);
        }
    return sum / (sx * sy);
}

TEST(Blit, HalftoneMatchesTheExactAreaMeanUnderClipsAndOffsets) {
    struct Case {
        int sw, sh;
        RECT from;
        CSize to;
        RECT clip; // in target pixels
    } cases[] = {
        {37, 23, {0, 0, 37, 23}, {10, 7}, {0, 0, 10, 7}},
        {37, 23, {3, 2, 34, 21}, {9, 5}, {2, 1, 7, 4}},
        {50, 9, {0, 0, 50, 9}, {13, 4}, {5, 0, 13, 4}},
        {7, 11, {1, 1, 7, 11}, {13, 17}, {0, 3, 13, 9}}, // enlarging
    };
    for (const Case& c : cases) {
        std::vector<std::vector<uint32_t>> src((size_t)c.sh, std::vector<uint32_t>((size_t)c.sw));
        uint32_t seed = 12345;
        for (auto& row : src)
            for (auto& p : row)
                p = (seed = seed * 1103515245 + 12345) >> 8 & 0xFFFFFF;
        CBitmap picture;
        picture.Attach(MakePicture24(src));
        CTestSurface s(c.to.cx, c.to.cy, 0xABCDEF);
        const CRect clip(c.clip);
        CSurfaceDC dc(s, CPoint(), &clip);
        CDC mem;
        mem.CreateCompatibleDC(&dc);
        CBitmap* old = mem.SelectObject(&picture);
        dc.SetStretchBltMode(HALFTONE);
        const CRect from(c.from);
        dc.StretchBlt(0, 0, c.to.cx, c.to.cy, &mem, from.left, from.top, from.Width(),
                      from.Height(), SRCCOPY);
        mem.SelectObject(old);
        int wrong = 0;
        for (int y = 0; y < c.to.cy; ++y)
            for (int x = 0; x < c.to.cx; ++x) {
                if (!clip.PtInRect(CPoint(x, y))) {
                    wrong += s.At(x, y) != 0xABCDEF;
                    continue;
                }
                for (int shift : {0, 8, 16}) {
                    const double want = AreaMean(src, from, c.to, x, y, shift);
                    wrong += std::abs((double)((s.At(x, y) >> shift) & 0xFF) - want) > 0.5 + 1e-9;
                }
            }
        EXPECT_EQ(wrong, 0) << c.sw << "x" << c.sh << " to " << c.to.cx << "x" << c.to.cy;
    }
}

} // namespace
