#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSupport.h"
#include "framework/gdi/BmpReader.h"

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = (uint8_t)v, b[at + 1] = (uint8_t)(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + (size_t)i] = (uint8_t)(v >> (8 * i));
}

// A .bmp file: headers, optional masks or palette, and rows already packed (file order).
std::vector<uint8_t> MakeBmp(int w, int h, int bpp, uint32_t compression,
                             const std::vector<uint32_t>& extra,
                             const std::vector<std::vector<uint8_t>>& fileRows) {
    const size_t stride = ((size_t)w * bpp + 31) / 32 * 4;
    const size_t off = 14 + 40 + extra.size() * 4;
    std::vector<uint8_t> b(off + stride * fileRows.size());
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, (uint32_t)b.size());
    Put32(b, 10, (uint32_t)off);
    Put32(b, 14, 40);
    Put32(b, 18, (uint32_t)w);
    Put32(b, 22, (uint32_t)h);
    Put16(b, 26, 1);
    Put16(b, 28, (uint32_t)bpp);
    Put32(b, 30, compression);
    for (size_t i = 0; i < extra.size(); ++i)
        Put32(b, 54 + 4 * i, extra[i]);
    for (size_t r = 0; r < fileRows.size(); ++r)
        std::memcpy(&b[off + r * stride], fileRows[r].data(), fileRows[r].size());
    return b;
}

// The bitmap's pixels, rows top first, read back through a memory context.
std::vector<uint32_t> PixelsOf(HBITMAP hbm, int w, int h) {
    CTestSurface s(w, h);
    CSurfaceDC dc(s);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    HGDIOBJ old = mem.SelectObject((HGDIOBJ)hbm);
    dc.BitBlt(0, 0, w, h, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
    std::vector<uint32_t> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.push_back(s.At(x, y));
    return out;
}

TEST(BmpReader, ReadsEveryDepthTheProgramShipsUpright) {
    const std::vector<uint32_t> palette2 = {0x00FF0000, 0x000000FF};
    std::vector<uint32_t> palette16(16, 0), palette256(256, 0);
    palette16[3] = 0x00123456, palette16[12] = 0x00ABCDEF;
    palette256[7] = 0x00010203, palette256[200] = 0x00F0E0D0;
    struct Case {
        const char* name;
        int bpp, h;
        uint32_t compression;
        std::vector<uint32_t> extra;
        std::vector<std::vector<uint8_t>> rows; // file order
        std::vector<uint32_t> expected;         // top first
    } cases[] = {
        {"1 bpp",
         1,
         2,
         BI_RGB,
         palette2,
         {{0x40}, {0x80}},
         {0x0000FF, 0xFF0000, 0xFF0000, 0x0000FF}},
        {"4 bpp", 4, 1, BI_RGB, palette16, {{0x3C}}, {0x123456, 0xABCDEF}},
        {"8 bpp", 8, 1, BI_RGB, palette256, {{200, 7}}, {0xF0E0D0, 0x010203}},
        {"16 bpp 5-5-5", 16, 1, BI_RGB, {}, {{0x00, 0x7C, 0x1F, 0x00}}, {0xFF0000, 0x0000FF}},
        // 5-6-5 through bit fields: each channel widened by repeating its top bits.
        {"16 bpp bit fields",
         16,
         2,
         BI_BITFIELDS,
         {0xF800, 0x07E0, 0x001F},
         {{0x00, 0xF8, 0xE0, 0x07}, {0x10, 0x84, 0x1F, 0x00}},
         {0x848284, 0x0000FF, 0xFF0000, 0x00FF00}},
        {"24 bpp", 24, 1, BI_RGB, {}, {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06}}, {0x030201, 0x060504}},
        {"32 bpp",
         32,
         1,
         BI_RGB,
         {},
         {{0x01, 0x02, 0x03, 0xFF, 0x04, 0x05, 0x06, 0x00}},
         {0x030201, 0x060504}},
        {"top-down",
         24,
         -2,
         BI_RGB,
         {},
         {{1, 1, 1, 2, 2, 2}, {3, 3, 3, 4, 4, 4}},
         {0x010101, 0x020202, 0x030303, 0x040404}},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> file = MakeBmp(2, c.h, c.bpp, c.compression, c.extra, c.rows);
        HBITMAP hbm = AfxReadBmp(file.data(), file.size());
        ASSERT_NE(hbm, nullptr) << c.name;
        BITMAP bm;
        ASSERT_EQ(GetObject(hbm, sizeof bm, &bm), (int)sizeof bm);
        EXPECT_EQ(bm.bmWidth, 2);
        EXPECT_EQ(bm.bmHeight, c.h < 0 ? -c.h : c.h);
        EXPECT_EQ(PixelsOf(hbm, 2, bm.bmHeight), c.expected) << c.name;
        DeleteObject(hbm);
    }
}

TEST(BmpReader, RefusesDamagedFilesWithoutReadingPastThem) {
    const std::vector<uint8_t> good =
        MakeBmp(2, 2, 24, BI_RGB, {}, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 1, 2, 3}});
    ASSERT_NE(AfxReadBmp(good.data(), good.size()), nullptr);
    struct Damage {
        const char* name;
        void (*apply)(std::vector<uint8_t>&);
    } damages[] = {
        {"bad magic", [](std::vector<uint8_t>& b) { b[0] = 'X'; }},
        {"truncated bits", [](std::vector<uint8_t>& b) { b.resize(b.size() - 1); }},
        {"truncated header", [](std::vector<uint8_t>& b) { b.resize(40); }},
        {"bits offset past the end", [](std::vector<uint8_t>& b) { Put32(b, 10, 0xFFFFFFF0); }},
        {"info size past the end", [](std::vector<uint8_t>& b) { Put32(b, 14, 0x7FFFFFFF); }},
        {"huge width", [](std::vector<uint8_t>& b) { Put32(b, 18, 0x40000000); }},
        {"huge height", [](std::vector<uint8_t>& b) { Put32(b, 22, 0x7FFFFFFF); }},
        {"most negative height", [](std::vector<uint8_t>& b) { Put32(b, 22, 0x80000000); }},
        {"zero width", [](std::vector<uint8_t>& b) { Put32(b, 18, 0); }},
        {"unknown depth", [](std::vector<uint8_t>& b) { Put16(b, 28, 7); }},
        {"run-length compression", [](std::vector<uint8_t>& b) { Put32(b, 30, 1); }},
        {"bit fields on 24 bits", [](std::vector<uint8_t>& b) { Put32(b, 30, BI_BITFIELDS); }},
        {"two planes", [](std::vector<uint8_t>& b) { Put16(b, 26, 2); }},
        {"palette past the end", [](std::vector<uint8_t>& b) { Put16(b, 28, 8); }},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> bad = good;
        d.apply(bad);
        // A copy of exactly the file's size lets a sanitizer catch a read past it.
        std::vector<uint8_t> exact(bad.begin(), bad.end());
        EXPECT_EQ(AfxReadBmp(exact.data(), exact.size()), nullptr) << d.name;
    }
    EXPECT_EQ(AfxReadBmp(nullptr, 100), nullptr);
}

TEST(GdiObjects, BitmapsBrushesAndPensDescribeThemselves) {
    const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(8, 8, 1, 1, rows));
    BITMAP bm;
    ASSERT_EQ(mono.GetBitmap(&bm), (int)sizeof bm);
    EXPECT_EQ(bm.bmWidthBytes, 2); // device bitmaps pad rows to 16 bits
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmBits, nullptr);
    CBrush brush(RGB(1, 2, 3));
    LOGBRUSH lb;
    ASSERT_EQ(brush.GetLogBrush(&lb), (int)sizeof lb);
    EXPECT_EQ(lb.lbStyle, (UINT)BS_SOLID);
    EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
    CPen pen(PS_SOLID, 0, RGB(51, 51, 51));
    LOGPEN lp;
    ASSERT_EQ(pen.GetObject(sizeof lp, &lp), (int)sizeof lp);
    EXPECT_EQ(lp.lopnColor, RGB(51, 51, 51));
    EXPECT_EQ(GetObject(pen, 2, &lp), 0); // too small a buffer
    EXPECT_EQ(CPen::FromHandle(pen), CPen::FromHandle(pen));
    EXPECT_EQ(CBrush::FromHandle((HBRUSH)(HGDIOBJ)pen), nullptr);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(255, 255, 255));
    EXPECT_NE(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_MENU));
    EXPECT_EQ(CreateBitmap(0, 8, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 100000, 100000), nullptr);
}

} // namespace

#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

namespace {

TEST(BmpReader, LoadsTheProgramsBitmapsByResourceId) {
    RegisterProgramResources();
    struct Case {
        UINT id;
        int w, h;
    } cases[] = {{IDB_ABOUT_ART, 163, 305}, {IDB_MAKER_LOGO, 148, 42}, {IDB_PARTNER_LOGO, 1, 1}};
    for (const Case& c : cases) {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmap(c.id)) << c.id;
        BITMAP bm;
        ASSERT_EQ(bitmap.GetBitmap(&bm), (int)sizeof bm);
        EXPECT_EQ(bm.bmWidth, c.w) << c.id;
        EXPECT_EQ(bm.bmHeight, c.h) << c.id;
    }
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(9999));
    EXPECT_EQ(missing.m_hObject, nullptr);
}

} // namespace
