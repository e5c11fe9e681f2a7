// The image and details views decode their item's picture for their own window: reduced when
// it is larger, and painted within a few levels of the full decode either way.
#include "shell/ShellFixture.h"

namespace {

// Paints the full decode of `jpeg` in the cell in place of what it shows and returns the share
// of pixels that differ from what it showed.
double DifferingFromFullDecode(CHeadlessBackend& screen, CThumbnailCell& cell,
                               const std::vector<BYTE>& jpeg) {
    const std::vector<COLORREF> shown = WindowPixels(screen, &cell);
    CItemPicture full;
    full.Decode(jpeg.data(), (DWORD)jpeg.size());
    cell.SetPicture(&full, cell.m_nItemIndex);
    cell.Invalidate();
    AfxPumpUntilIdle();
    const double difference = DifferingShare(shown, WindowPixels(screen, &cell));
    cell.ClearPicture();
    return difference;
}

CSize BitmapSize(const CItemPicture* pPicture) {
    BITMAP bm = {};
    if (pPicture == nullptr || !const_cast<CItemPicture*>(pPicture)->GetBitmap(&bm))
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

} // namespace

TEST(ItemViewDecode, EachViewDecodesForItsOwnWindow) {
    CScopedTempDir dir;
    // Item 0 larger than the image view, item 1 smaller than it but larger than the details
    // cell, item 2 smaller than both.
    const CSize sizes[] = {{1603, 1201}, {300, 220}, {100, 60}};
    CCollectionWriter writer;
    writer.SetHeader("1.0 test");
    std::vector<std::vector<BYTE>> jpegs;
    for (int i = 0; i < 3; ++i) {
        ITEM_RECORD item = MakeTestItem(i, ItemColour(i));
        item.jpeg = MakeLargeBandedJpeg(sizes[i].cx, sizes[i].cy, ItemColour(i));
        jpegs.push_back(item.jpeg);
        writer.AddItem(item);
    }
    CViewerHarness run(1024, 768, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    // Image view: 1603 × 1201 shows as 633 × 475, decoded at 1/2 (802 × 601).
    const CSize imageBitmaps[] = {{802, 601}, {300, 220}, {100, 60}};
    // Details cell, 140 × 200: 140 × 104 from 1603 × 1201 at 1/8 (201 × 151), 140 × 102 from
    // 300 × 220 at 1/2 (150 × 110).
    const CSize detailsBitmaps[] = {{201, 151}, {150, 110}, {100, 60}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i);
        run.PickRow(3 + i);
        run.Command(ID_SHOW_IMAGE); // a pick keeps the details view the last item showed
        ASSERT_EQ(run.View(), 'I');
        EXPECT_EQ(BitmapSize(run.ImageCell().GetPicture()), imageBitmaps[i]);
        EXPECT_EQ(run.ImageCell().GetPicture()->GetFullSize(), sizes[i]);
        EXPECT_LT(DifferingFromFullDecode(run.Screen(), run.ImageCell(), jpegs[i]), 0.05);

        run.Command(ID_SHOW_DETAILS);
        ASSERT_EQ(run.View(), 'D');
        EXPECT_EQ(BitmapSize(run.DetailsCell().GetPicture()), detailsBitmaps[i]);
        EXPECT_LT(DifferingFromFullDecode(run.Screen(), run.DetailsCell(), jpegs[i]), 0.05);
    }
    run.Command(ID_SHOW_THUMBNAILS);
    // The page's three and the Comments page's first item: none left by the item views.
    EXPECT_EQ(dir.Files().size(), 4u);
}
