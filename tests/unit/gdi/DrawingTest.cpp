#include <gtest/gtest.h>

#include "GdiTestSupport.h"

namespace {

const uint32_t RED = 0xFF0000, BLUE = 0x0000FF;
const std::map<uint32_t, char> LEGEND = {{0, '.'}, {RED, 'R'}, {BLUE, 'B'}};

TEST(Drawing, FillsAndFramesStayInsideTheirRectangleAndTheSurface) {
    struct Case {
        RECT rc;
        bool frame;
        std::string expected;
    } cases[] = {
        {{1, 1, 5, 4}, false, Rows({"......", ".RRRR.", ".RRRR.", ".RRRR.", "......"})},
        {{1, 1, 5, 4}, true, Rows({"......", ".RRRR.", ".R..R.", ".RRRR.", "......"})},
        {{-3, -2, 2, 2}, false, Rows({"RR....", "RR....", "......", "......", "......"})},
        {{-3, -2, 2, 2}, true, Rows({".R....", "RR....", "......", "......", "......"})},
        {{4, 3, 100000, 100000}, true, Rows({"......", "......", "......", "....RR", "....R."})},
        {{-100000, 2, 100000, 3}, false, Rows({"......", "......", "RRRRRR", "......", "......"})},
        {{2, 1, 3, 4}, true, Rows({"......", "..R...", "..R...", "..R...", "......"})},
        {{3, 3, 3, 9}, false, Rows({"......", "......", "......", "......", "......"})},
        {{5, 4, 1, 1}, true, Rows({"......", "......", "......", "......", "......"})},
        {{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2},
         true,
         Rows({"......", "......", "......", "......", "......"})},
    };
    CBrush red(RGB(255, 0, 0));
    for (const Case& c : cases) {
        CTestSurface s(6, 5);
        CSurfaceDC dc(s);
        if (c.frame)
            dc.FrameRect(&c.rc, &red);
        else
            dc.FillRect(&c.rc, &red);
        EXPECT_EQ(s.Picture(LEGEND), c.expected)
            << c.rc.left << "," << c.rc.top << " frame " << c.frame;
    }
}

TEST(Drawing, LinesLeaveOutTheirEndPoint) {
    struct Case {
        POINT from, to;
        std::string expected;
    } cases[] = {
        {{0, 1}, {5, 1}, Rows({"......", "RRRRR.", "......", "......"})},
        {{5, 2}, {0, 2}, Rows({"......", "......", ".RRRRR", "......"})},
        {{2, 0}, {2, 3}, Rows({"..R...", "..R...", "..R...", "......"})},
        {{0, 0}, {3, 3}, Rows({"R.....", ".R....", "..R...", "......"})},
        {{-10, 1}, {100, 1}, Rows({"......", "RRRRRR", "......", "......"})},
        {{3, 3}, {3, 3}, Rows({"......", "......", "......", "......"})},
        {{-2000000000, 0}, {2000000000, 0}, Rows({"RRRRRR", "......", "......", "......"})},
    };
    CPen pen(PS_SOLID, 0, RGB(255, 0, 0));
    for (const Case& c : cases) {
        CTestSurface s(6, 4);
        CSurfaceDC dc(s);
        CPen* old = dc.SelectObject(&pen);
        dc.MoveTo(c.from);
        dc.LineTo(c.to);
        dc.SelectObject(old);
        EXPECT_EQ(s.Picture(LEGEND), c.expected) << c.from.x << "," << c.from.y;
        EXPECT_EQ(dc.GetCurrentPosition(), CPoint(c.to));
    }
}

TEST(Drawing, PatternsFollowTheBrushOriginAndTheColoursOfTheContext) {
    const WORD rows[8] = {0x80, 0, 0, 0, 0, 0, 0, 0}; // one 0... one 1 bit at the top-left
    CBitmap pattern;
    ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, rows));
    CBrush brush;
    ASSERT_TRUE(brush.CreatePatternBrush(&pattern));
    CTestSurface s(10, 2);
    CSurfaceDC dc(s);
    dc.SetTextColor(RGB(0, 0, 255));
    dc.SetBkColor(RGB(255, 0, 0));
    dc.SetBrushOrg(1, 0);
    dc.FillRect(CRect(0, 0, 10, 2), &brush);
    EXPECT_EQ(s.Picture(LEGEND), Rows({"BRBBBBBBBR", "BBBBBBBBBB"}));
}

TEST(Drawing, ClipAndWindowOriginShapeWhereDrawingLands) {
    CTestSurface s(8, 6);
    const CRect windowClip(1, 1, 7, 5); // surface pixels
    CSurfaceDC dc(s, CPoint(1, 1), &windowClip);
    CRect box;
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(0, 0, 6, 4));
    dc.SetWindowOrg(10, 0);
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(10, 0, 16, 4));

    const int saved = dc.SaveDC();
    EXPECT_EQ(dc.IntersectClipRect(12, 1, 100, 3), SIMPLEREGION);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.FillSolidRect(0, 0, 100, 100, RGB(255, 0, 0));
    EXPECT_EQ(s.Picture(LEGEND),
              Rows({"........", "........", "...RRRR.", "...RRRR.", "........", "........"}));

    ASSERT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetWindowOrg(), CPoint(10, 0));
    dc.FillSolidRect(10, 0, 1, 100, RGB(0, 0, 255));
    EXPECT_EQ(s.Picture(LEGEND),
              Rows({"........", ".B......", ".B.RRRR.", ".B.RRRR.", ".B......", "........"}));
    EXPECT_FALSE(dc.RestoreDC(-1)); // nothing left to restore

    EXPECT_EQ(dc.IntersectClipRect(-5, -5, 0, 0), NULLREGION);
    EXPECT_EQ(dc.GetClipBox(&box), NULLREGION);
    EXPECT_TRUE(CRect(box).IsRectEmpty());
}

TEST(Drawing, ObjectsDeletedWhileSelectedGoOnlyWhenReleased) {
    CTestSurface s(4, 1);
    CSurfaceDC dc(s);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ old = dc.SelectObject((HGDIOBJ)red);
    ASSERT_NE(old, nullptr);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(dc.PatBlt(0, 0, 4, 1, PATCOPY), TRUE);
    EXPECT_EQ(s.At(3, 0), RED); // still usable while selected
    LOGBRUSH lb;
    EXPECT_EQ(GetObject(red, sizeof lb, &lb), (int)sizeof lb);
    dc.SelectObject(old);
    EXPECT_EQ(GetObject(red, sizeof lb, &lb), 0); // gone with its last selection
    EXPECT_FALSE(DeleteObject(red));
    EXPECT_EQ(GetObject(GetStockObject(WHITE_BRUSH), sizeof lb, &lb), (int)sizeof lb);
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetObject(GetStockObject(WHITE_BRUSH), sizeof lb, &lb), (int)sizeof lb);
}

TEST(Drawing, DeletedContextsAndHandlesAreRefusedNotFollowed) {
    CTestSurface s(2, 2);
    HDC hdc = AfxCreateSurfaceDC(&s.Surface(), CPoint(), s.Surface().Bounds());
    CDC* wrapper = CDC::FromHandle(hdc);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(CDC::FromHandle(hdc), wrapper);
    EXPECT_TRUE(DeleteDC(hdc));
    EXPECT_FALSE(DeleteDC(hdc));
    EXPECT_EQ(CDC::FromHandle(hdc), nullptr);
    CDC stale;
    stale.Attach(hdc);
    stale.FillSolidRect(0, 0, 2, 2, RGB(255, 0, 0));
    EXPECT_EQ(stale.GetPixel(0, 0), (COLORREF)-1);
    stale.Detach();
    EXPECT_EQ(s.At(0, 0), 0u);
}

} // namespace

namespace {

// Program-wide graphics objects are released after every other static has gone.
CBrush g_brushAtExit;
CDC g_dcAtExit;

TEST(Drawing, ProgramWideObjectsMayOutliveTheFirstDrawing) {
    ASSERT_TRUE(g_brushAtExit.CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_TRUE(g_dcAtExit.CreateCompatibleDC(nullptr));
    EXPECT_NE(g_dcAtExit.SelectObject(&g_brushAtExit), nullptr);
}

} // namespace

namespace {

TEST(Drawing, ExtremeCoordinatesNeverReachOutsideTheClip) {
    CTestSurface picture(4, 4, 0x112233);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(nullptr, 4, 4);
    const int big = INT32_MAX, small = INT32_MIN;
    const int coords[][4] = {{big - 1, big - 1, big, big},
                             {small, small, big, big},
                             {small, 1, big, 1},
                             {-5, -5, 3, 3},
                             {big / 2, small / 2, big, small},
                             {1, 1, -big, -big}};
    for (const auto& c : coords) {
        CTestSurface s(6, 6, 0x000000);
        const CRect clip(1, 1, 5, 5);
        CSurfaceDC dc(s, CPoint(1, 1), &clip);
        dc.SetWindowOrg(c[0] / 3, c[1] / 3);
        CDC mem;
        mem.CreateCompatibleDC(&dc);
        CBitmap* old = mem.SelectObject(&bitmap);
        CBrush red(RGB(255, 0, 0));
        CPen pen(PS_SOLID, 0, RGB(255, 0, 0));
        dc.SelectObject(&pen);
        dc.SelectObject(&red);
        const CRect rc(c[0], c[1], c[2], c[3]);
        dc.FillRect(&rc, &red);
        dc.FrameRect(&rc, &red);
        dc.FillSolidRect(c[0], c[1], c[2], c[3], RGB(255, 0, 0));
        dc.PatBlt(c[0], c[1], c[2], c[3], PATCOPY);
        dc.MoveTo(c[0], c[1]);
        dc.LineTo(c[2], c[3]);
        dc.BitBlt(c[0], c[1], c[2], c[3], &mem, c[1], c[0], SRCCOPY);
        dc.StretchBlt(c[0], c[1], c[2], c[3], &mem, c[1], c[0], c[2], c[3], SRCCOPY);
        dc.SetStretchBltMode(HALFTONE);
        dc.StretchBlt(c[0], c[1], 5, 5, &mem, 0, 0, c[2], c[3], SRCCOPY);
        mem.SelectObject(old);
        dc.SelectStockObject(BLACK_PEN);
        dc.SelectStockObject(WHITE_BRUSH);
        int outside = 0;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                outside += !clip.PtInRect(CPoint(x, y)) && s.At(x, y) != 0;
        EXPECT_EQ(outside, 0) << c[0] << "," << c[1] << "," << c[2] << "," << c[3];
    }
}

} // namespace

namespace {

TEST(Drawing, RasterOperationsCombineBrushAndDestination) {
    struct Case {
        DWORD rop;
        uint32_t expected;
    } cases[] = {
        {PATCOPY, 0x0F0F00},
        {ROP_DEST_AND_PATTERN, 0x030300},
        {ROP_DEST_OR_PATTERN, 0x3F3F30},
        {PATINVERT, 0x3C3C30},
        {DSTINVERT, 0xCCCCCF},
        {BLACKNESS, 0x000000},
        {WHITENESS, 0xFFFFFF},
    };
    CBrush brush(RGB(15, 15, 0));
    for (const Case& c : cases) {
        CTestSurface s(3, 1, 0x333330);
        CSurfaceDC dc(s);
        dc.SelectObject(&brush);
        EXPECT_TRUE(dc.PatBlt(0, 0, 2, 1, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(s.At(0, 0), c.expected) << std::hex << c.rop;
        EXPECT_EQ(s.At(2, 0), 0x333330u);
        dc.SelectStockObject(WHITE_BRUSH);
    }
}

} // namespace
