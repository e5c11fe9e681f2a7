// Drawing on a surface whose pixels are at a scale: coordinates map edge by edge, so fills
// tile, lines and frames are whole device pixels wide, text is drawn with the scaled font,
// pictures stretch from their own pixels and the program's bitmaps enlarge smoothly.
#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSupport.h"
#include "framework/gdi/DeviceScale.h"

namespace {

const CDeviceScale SCALE_175(7), SCALE_35(14);

class CScaledDC : public CDC {
public:
    CScaledDC(CTestSurface& s, const CDeviceScale& scale, CPoint origin = CPoint()) {
        Attach(AfxCreateSurfaceDC(&s.Surface(), origin, scale.ToLayoutCover(s.Surface().Bounds()),
                                  scale));
    }
};

// A 32-bit w × 1 bitmap of grey levels.
void MakeGreyRow(CBitmap& bitmap, const std::vector<int>& levels) {
    std::vector<uint32_t> bits;
    for (int v : levels)
        bits.push_back((uint32_t)v * 0x010101);
    ASSERT_TRUE(bitmap.CreateBitmap((int)levels.size(), 1, 1, 32, bits.data()));
}

int Grey(uint32_t pixel) {
    return (int)(pixel & 0xFF);
}

} // namespace

TEST(DeviceScale, EveryDevicePixelBelongsToTheLayoutPixelWhoseEdgesHoldIt) {
    for (int q = 4; q <= 32; ++q) {
        SCOPED_TRACE(q);
        const CDeviceScale scale(q);
        for (int x = -40; x < 200; ++x) {
            EXPECT_EQ(scale.ToLayout(scale.ToDevice(x)), x);
            EXPECT_LE(scale.ToDevice(x + 1) - scale.ToDevice(x), (q + 3) / 4);
            EXPECT_GE(scale.ToDevice(x + 1) - scale.ToDevice(x), q / 4);
        }
        for (int p = -100; p < 600; ++p) {
            const int64_t x = scale.ToLayout(p);
            EXPECT_LE(scale.ToDevice(x), p);
            EXPECT_GT(scale.ToDevice(x + 1), p);
        }
        const CRect rc(-3, 5, 17, 40);
        EXPECT_EQ(scale.ToLayoutCover(scale.ToDevice(rc)), rc);
    }
    EXPECT_EQ(CDeviceScale(4).ToDevice(CRect(-3, 5, 17, 40)), CRect(-3, 5, 17, 40));
    EXPECT_EQ(CDeviceScale(0).Quarters(), 4);
    EXPECT_EQ(CDeviceScale(1000).Quarters(), CDeviceScale::kMaxQuarters);
}

TEST(ScaledDrawing, NeighbouringFillsTileWithNoGapAndNoOverlap) {
    for (const CDeviceScale& scale : {SCALE_175, SCALE_35}) {
        SCOPED_TRACE(scale.Quarters());
        CTestSurface s(100, 30, 0);
        CScaledDC dc(s, scale, CPoint(1, 1));
        // Each pixel inverted once shows white; a gap stays black, an overlap turns back.
        for (int x = 0; x < 20; ++x)
            dc.PatBlt(x, 0, 1, 3, DSTINVERT);
        const int left = (int)scale.ToDevice(1), right = (int)scale.ToDevice(21);
        for (int p = 0; p < 100; ++p)
            EXPECT_EQ(s.At(p, (int)scale.ToDevice(2)), p >= left && p < right ? 0xFFFFFFu : 0u)
                << "column " << p;
    }
}

TEST(ScaledDrawing, FramesAndLinesAreTheSameWholeDevicePixelsWideEverywhere) {
    for (const CDeviceScale& scale : {SCALE_175, SCALE_35}) {
        SCOPED_TRACE(scale.Quarters());
        const int w = scale.LineWidth();
        CTestSurface s(80, 80, 0);
        CScaledDC dc(s, scale);
        CBrush white(RGB(255, 255, 255));
        const CRect frame(2, 3, 13, 11);
        dc.FrameRect(&frame, &white);
        const CRect dev = scale.ToDevice(frame);
        const int midX = dev.CenterPoint().x, midY = dev.CenterPoint().y;
        // Left, right, top and bottom sides: w white pixels, then the inside.
        for (int i = 0; i < w; ++i) {
            EXPECT_EQ(s.At(dev.left + i, midY), 0xFFFFFFu);
            EXPECT_EQ(s.At(dev.right - 1 - i, midY), 0xFFFFFFu);
            EXPECT_EQ(s.At(midX, dev.top + i), 0xFFFFFFu);
            EXPECT_EQ(s.At(midX, dev.bottom - 1 - i), 0xFFFFFFu);
        }
        EXPECT_EQ(s.At(dev.left + w, midY), 0u);
        EXPECT_EQ(s.At(dev.right - 1 - w, midY), 0u);
        EXPECT_EQ(s.At(midX, dev.top + w), 0u);
        EXPECT_EQ(s.At(dev.left - 1, midY), 0u);
        EXPECT_EQ(s.At(dev.right, midY), 0u);

        // A level line from left to right and one from right to left: both leave out their
        // end point, each over its own layout pixels.
        CTestSurface l(80, 80, 0);
        CScaledDC line(l, scale);
        CPen pen(PS_SOLID, 0, RGB(255, 255, 255));
        line.SelectObject(&pen);
        line.MoveTo(1, 4);
        line.LineTo(11, 4);
        line.MoveTo(11, 14);
        line.LineTo(1, 14);
        for (const int y : {4, 14}) {
            const int top = (int)scale.ToDevice(y);
            const int from = (int)scale.ToDevice(y == 4 ? 1 : 2);
            const int to = (int)scale.ToDevice(y == 4 ? 11 : 12);
            EXPECT_EQ(l.At(from, top), 0xFFFFFFu) << y;
            EXPECT_EQ(l.At(to - 1, top + w - 1), 0xFFFFFFu) << y;
            EXPECT_EQ(l.At(to, top), 0u) << y;
            EXPECT_EQ(l.At(from - 1, top), 0u) << y;
            EXPECT_EQ(l.At(from, top + w), 0u) << y;
            EXPECT_EQ(l.At(from, top - 1), 0u) << y;
        }
    }
}

TEST(ScaledDrawing, ProgramBitmapsEnlargeSmoothlyAndPicturesStretchFromTheirOwnPixels) {
    CTestSurface s(60, 10, 0);
    CScaledDC dc(s, SCALE_35);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&dc));
    CBitmap bitmap;
    MakeGreyRow(bitmap, {0, 0, 255, 255});
    mem.SelectObject(&bitmap);
    // Four pixels onto 14: black on the left, white on the right, grey steps between.
    ASSERT_TRUE(dc.BitBlt(0, 0, 4, 1, &mem, 0, 0, SRCCOPY));
    EXPECT_EQ(Grey(s.At(0, 1)), 0);
    EXPECT_EQ(Grey(s.At(13, 1)), 255);
    EXPECT_EQ(s.At(14, 1), 0u);
    int nBetween = 0;
    for (int p = 1; p < 14; ++p) {
        EXPECT_GE(Grey(s.At(p, 1)), Grey(s.At(p - 1, 1)));
        nBetween += Grey(s.At(p, 1)) > 0 && Grey(s.At(p, 1)) < 255;
    }
    EXPECT_GE(nBetween, 2);

    // Fourteen picture pixels into four layout pixels, fourteen device pixels: each device
    // pixel shows its own source pixel, not an average of a smaller copy.
    CTestSurface t(60, 10, 0);
    CScaledDC target(t, SCALE_35);
    std::vector<int> levels;
    for (int i = 0; i < 14; ++i)
        levels.push_back(i * 18);
    CBitmap picture;
    MakeGreyRow(picture, levels);
    CDC pictureDC;
    ASSERT_TRUE(pictureDC.CreateCompatibleDC(&target));
    pictureDC.SelectObject(&picture);
    target.SetStretchBltMode(HALFTONE);
    ASSERT_TRUE(target.StretchBlt(0, 0, 4, 1, &pictureDC, 0, 0, 14, 1, SRCCOPY));
    for (int p = 0; p < 14; ++p)
        EXPECT_EQ(Grey(t.At(p, 2)), p * 18) << p;
}

TEST(ScaledDrawing, BitmapsMadeForAScaledContextKeepItsScale) {
    CTestSurface s(60, 40, 0);
    CScaledDC dc(s, SCALE_175, CPoint(3, 3));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 10, 4));
    BITMAP bm;
    bitmap.GetBitmap(&bm);
    EXPECT_EQ(CSize(bm.bmWidth, bm.bmHeight), CSize(18, 7));
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&dc));
    mem.SelectObject(&bitmap);
    mem.FillSolidRect(0, 0, 10, 4, RGB(0, 0, 200));
    mem.FillSolidRect(0, 0, 1, 1, RGB(200, 0, 0));
    ASSERT_TRUE(dc.BitBlt(0, 0, 10, 4, &mem, 0, 0, SRCCOPY));
    // Copied pixel for pixel: the corner is the one layout pixel's device pixels, unblurred.
    const CRect corner = SCALE_175.ToDevice(CRect(3, 3, 4, 4));
    EXPECT_EQ(s.At(corner.left, corner.top), 0xC80000u);
    EXPECT_EQ(s.At(corner.right - 1, corner.bottom - 1), 0xC80000u);
    EXPECT_EQ(s.At(corner.right, corner.top), 0x0000C8u);
    const CRect all = SCALE_175.ToDevice(CRect(3, 3, 13, 7));
    EXPECT_EQ(s.At(all.right - 1, all.bottom - 1), 0x0000C8u);
    EXPECT_EQ(s.At(all.right, all.bottom - 1), 0u);
}

TEST(ScaledDrawing, TextIsDrawnWithTheScaledFontAndMeasuresAsUnscaled) {
    LOGFONT lf = {};
    lf.lfHeight = -12;
    strcpy(lf.lfFaceName, "Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    const auto inkRows = [&](const CDeviceScale& scale, CSize* pExtent) {
        CTestSurface s(200, 100, 0xFFFFFF);
        CScaledDC dc(s, scale);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(2, 2, "HIH");
        *pExtent = dc.GetTextExtent("HIH");
        int rows = 0;
        for (int y = 0; y < 100; ++y) {
            bool bInk = false;
            for (int x = 0; x < 200; ++x)
                bInk = bInk || s.At(x, y) != 0xFFFFFFu;
            rows += bInk;
        }
        return rows;
    };
    CSize extent1, extent35;
    const int rows1 = inkRows(CDeviceScale(), &extent1);
    const int rows35 = inkRows(SCALE_35, &extent35);
    EXPECT_EQ(extent1, extent35);
    ASSERT_GT(rows1, 5);
    EXPECT_NEAR(rows35, rows1 * 3.5, 4);
}
