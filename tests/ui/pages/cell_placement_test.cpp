// Where a thumbnail cell puts an item's picture, computed and as seen on the screen.
#include "cell_fixture.h"
#include "pages/page_fixture.h"

namespace {

struct Placement {
    int cellWidth, cellHeight, bw, bh;
    int x, y, w, h;
};

const Placement PLACEMENTS[] = {
    {160, 200, 160, 200, 0, 0, 160, 200},    {160, 200, 320, 100, 0, 75, 160, 50},
    {160, 200, 100, 400, 55, 0, 50, 200},    {160, 200, 400, 400, 0, 20, 160, 160},
    {160, 200, 161, 200, 0, 1, 160, 198},    {160, 200, 390, 400, 0, 18, 160, 164},
    {160, 200, 40, 30, 60, 85, 40, 30},      {800, 475, 300, 400, 250, 37, 300, 400},
    {800, 475, 1000, 300, 0, 117, 800, 240}, {800, 475, 1000, 900, 136, 0, 527, 475},
    {800, 475, 640, 480, 83, 0, 633, 475},   {140, 200, 300, 200, 0, 53, 140, 93},
};

} // namespace

TEST_F(CellFixture, PlacesEveryExampleExactlyWithTheBackgroundAround) {
    for (const Placement& p : PLACEMENTS) {
        const std::string what = std::to_string(p.bw) + "x" + std::to_string(p.bh) + " in " +
                                 std::to_string(p.cellWidth) + "x" + std::to_string(p.cellHeight);
        const CRect r(CPoint(p.x, p.y), CSize(p.w, p.h));
        BOOL bShrunk = -1;
        EXPECT_EQ(CThumbnailCell::PlacePicture(p.bw, p.bh, p.cellWidth, p.cellHeight, &bShrunk), r)
            << what;
        EXPECT_EQ(bShrunk, p.bw > p.cellWidth || p.bh > p.cellHeight) << what;

        CItemPicture picture;
        MakePicture(picture, p.bw, p.bh, PICTURE);
        m_cell.MoveWindow(10, 10, p.cellWidth, p.cellHeight);
        m_cell.SetPicture(&picture, 0);
        Repaint();
        for (CPoint in : {r.TopLeft(), CPoint(r.right - 1, r.bottom - 1)})
            EXPECT_EQ(CellPixel(in.x, in.y), PICTURE) << what;
        const std::pair<CPoint, bool> outside[] = {{{r.left - 1, r.top}, r.left > 0},
                                                   {{r.left, r.top - 1}, r.top > 0},
                                                   {{r.right, r.top}, r.right < p.cellWidth},
                                                   {{r.left, r.bottom}, r.bottom < p.cellHeight}};
        for (const auto& [pt, inCell] : outside) {
            EXPECT_TRUE(!inCell || CellPixel(pt.x, pt.y) == BACKGROUND)
                << what << " at " << pt.x << "," << pt.y;
        }
        m_cell.ClearPicture();
    }
    // Degenerate clients place nothing unbounded.
    for (CSize client : {CSize(0, 0), CSize(-5, -5), CSize(-5, 10)}) {
        BOOL bShrunk;
        const CRect r = CThumbnailCell::PlacePicture(100, 0, client.cx, client.cy, &bShrunk);
        for (LONG v : {r.left, r.top, r.right, r.bottom})
            EXPECT_LE(std::abs(v), 100);
    }
}

TEST_F(CellFixture, ShrinksByAveragingAndCopiesOneToOneExactly) {
    CItemPicture striped, exact;
    MakePicture(striped, 320, 400, RGB(0, 0, 0), RGB(255, 255, 255));
    MakePicture(exact, 160, 200, RGB(0, 0, 0), RGB(255, 255, 255));
    m_cell.SetPicture(&striped, 0);
    Repaint();
    EXPECT_NEAR(GetRValue(CellPixel(80, 100)), 128, 2);
    m_cell.SetPicture(&exact, 0);
    Repaint();
    EXPECT_EQ(CellPixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(CellPixel(1, 0), RGB(255, 255, 255));
    m_cell.ClearPicture();
}

// A 901 × 672 picture decoded at a quarter for the cell is 226 × 168, which shrunk to fit would
// stand one row lower and one shorter than the picture itself: the cell must place it from its
// own size. The JPEG's first rows are banded (shown along the bottom) and so are its left
// columns, so that a flipped or mirrored picture fails too.
TEST_F(CellFixture, PlacesAReducedDecodeOnTheFullDecodesRectangle) {
    CScopedTempDir dir;
    const COLORREF top = RGB(250, 240, 20), left = RGB(20, 60, 240), rest = RGB(30, 180, 90);
    const std::vector<BYTE> jpeg = MakeJpeg(901, 672, [&](int x, int y) {
        return (DWORD)PixelFromColor(y < 80 ? top : x < 90 ? left : rest);
    });
    CItemPicture full, reduced;
    full.Decode(jpeg.data(), (DWORD)jpeg.size());
    reduced.SetRequest({CSize(160, 200)});
    reduced.Decode(jpeg.data(), (DWORD)jpeg.size());
    BITMAP bm = {};
    ASSERT_TRUE(reduced.GetBitmap(&bm));
    EXPECT_EQ(CSize(bm.bmWidth, bm.bmHeight), CSize(226, 168));
    EXPECT_EQ(reduced.GetFullSize(), CSize(901, 672));

    // Placed at (0, 40), 160 × 119: rows 40 to 158.
    const std::pair<CPoint, COLORREF> probes[] = {
        {{80, 39}, BACKGROUND}, {{80, 40}, rest},   {{80, 158}, top}, {{80, 159}, BACKGROUND},
        {{0, 100}, left},       {{159, 100}, rest}, {{80, 152}, top}, {{80, 46}, rest}};
    for (CItemPicture* picture : {&full, &reduced}) {
        const char* what = picture == &full ? "full" : "reduced";
        m_cell.SetPicture(picture, 0);
        Repaint();
        for (const auto& [pt, colour] : probes)
            EXPECT_TRUE(NearColour(CellPixel(pt.x, pt.y), colour, 12))
                << what << " at " << pt.x << "," << pt.y << ": " << std::hex
                << CellPixel(pt.x, pt.y);
        m_cell.ClearPicture();
    }
}
