// The thumbnails page on its own: cells, paging links and their texts, records let go on hiding.
#include "framework/window/MessageLoop.h"
#include "pages/PageCommandIds.h"
#include "pages/ThumbnailsPage.h"
#include "pages/page_fixture.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

namespace {

class ThumbnailsPageTest : public ::testing::Test {
protected:
    void Open(int nItems) { OpenFile(WriteItems(m_dir, nItems)); }
    void OpenFile(const std::string& path) {
        AfxSetBackend(&m_backend);
        RegisterProgramResources();
        ASSERT_TRUE(m_host.m_collection.Open(path.c_str()));
        ASSERT_TRUE(m_host.Create(IDD_VIEWER, nullptr));
        m_host.MoveWindow(0, 0, 800, 600);
        ASSERT_TRUE(m_page.Create(IDD_THUMBNAILS_PAGE, &m_host));
        m_page.MoveWindow(0, 68, 800, 475);
        m_host.ShowWindow(SW_SHOW);
        m_page.ShowWindow(SW_SHOW);
        m_page.ShowPageOf(0);
        AfxPumpUntilIdle();
    }
    void TearDown() override {
        m_host.DestroyWindow();
        AfxSetBackend(nullptr);
    }
    void Link(UINT nID) {
        CLinkStatic& link = nID == ID_NEXT_THUMBS ? m_page.GetNextLink() : m_page.GetPreviousLink();
        m_page.SendMessage(WM_COMMAND, MAKEWPARAM(nID, STN_CLICKED), (LPARAM)link.GetSafeHwnd());
        AfxPumpUntilIdle();
    }
    // The page as a string: the item index in each visible cell ('-' for a hidden one), then
    // "<" and ">" with the next link's text when the links show.
    std::string Describe() {
        std::string s;
        for (int k = 0; k < CThumbnailsPage::CELL_COUNT; ++k) {
            CThumbnailCell* pCell = m_page.GetCell(k);
            s += pCell->IsWindowVisible() ? std::to_string(pCell->m_nItemIndex) : "-";
            s += " ";
        }
        if (m_page.GetPreviousLink().IsWindowVisible())
            s += "<";
        if (m_page.GetNextLink().IsWindowVisible()) {
            CString text;
            m_page.GetNextLink().GetWindowText(text);
            s += "|" + std::string(text.GetString());
        }
        return s;
    }

    CScopedTempDir m_dir;
    CHeadlessBackend m_backend{800, 600};
    CCollectionHost m_host;
    CThumbnailsPage m_page;
};

TEST_F(ThumbnailsPageTest, ThreeItemsFillThreeCellsWithoutLinks) {
    Open(3);
    EXPECT_EQ(Describe(), "0 1 2 - - - - - ");
    // Cell 1 at (230, 25) shows item 1's picture in its middle; a hidden cell shows the page.
    EXPECT_SCREEN_NEAR(m_backend, 230 + 80, 68 + 25 + 100, ItemColour(1));
    // Its 40 × 30 picture spans rows 178 to 207 and columns 290 to 329: the JPEG's top band
    // shows along the bottom, its left band on the left.
    EXPECT_SCREEN_NEAR(m_backend, 230 + 80, 207 - 2, TEST_PICTURE_TOP_BAND);
    EXPECT_SCREEN_NEAR(m_backend, 230 + 80, 178 + 2, ItemColour(1));
    EXPECT_SCREEN_NEAR(m_backend, 290 + 2, 68 + 25 + 100, TEST_PICTURE_LEFT_BAND);
    EXPECT_SCREEN_NEAR(m_backend, 590 + 80, 68 + 25 + 100, RGB(0, 0, 0));
    EXPECT_SCREEN_NEAR(m_backend, 230 + 2, 68 + 25 + 2, RGB(102, 102, 102));
}

TEST_F(ThumbnailsPageTest, EightItemsMakeOnePage) {
    Open(8);
    EXPECT_EQ(Describe(), "0 1 2 3 4 5 6 7 ");
}

TEST_F(ThumbnailsPageTest, NineItemsPageToTheLastOneAndBack) {
    Open(9);
    EXPECT_EQ(Describe(), "0 1 2 3 4 5 6 7 |Next 1 thumbnail >>");
    Link(ID_NEXT_THUMBS);
    EXPECT_EQ(Describe(), "8 - - - - - - - <");
    Link(ID_PREV_THUMBS);
    EXPECT_EQ(Describe(), "0 1 2 3 4 5 6 7 |Next 1 thumbnail >>");
}

TEST_F(ThumbnailsPageTest, TwentyItemsInThreePages) {
    Open(20);
    EXPECT_EQ(Describe(), "0 1 2 3 4 5 6 7 |Next 8 thumbnails >>");
    Link(ID_NEXT_THUMBS);
    EXPECT_EQ(Describe(), "8 9 10 11 12 13 14 15 <|Next 4 thumbnails >>");
    Link(ID_NEXT_THUMBS);
    EXPECT_EQ(Describe(), "16 17 18 19 - - - - <");
    EXPECT_SCREEN_NEAR(m_backend, 590 + 80, 68 + 25 + 100, ItemColour(19));
    Link(ID_PREV_THUMBS);
    EXPECT_EQ(Describe(), "8 9 10 11 12 13 14 15 <|Next 4 thumbnails >>");
    // Only the shown page's pictures are held.
    EXPECT_EQ(m_dir.Files().size(), 8u);
}

TEST_F(ThumbnailsPageTest, ShowPageOfAnItemOpensThePageThatHoldsItAndPagesOnFromThere) {
    Open(20);
    const struct {
        int nItem;
        const char* page;
    } cases[] = {{13, "8 9 10 11 12 13 14 15 <|Next 4 thumbnails >>"},
                 {16, "16 17 18 19 - - - - <"},
                 {7, "0 1 2 3 4 5 6 7 |Next 8 thumbnails >>"},
                 {99, "16 17 18 19 - - - - <"},
                 {-5, "0 1 2 3 4 5 6 7 |Next 8 thumbnails >>"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nItem);
        m_page.ReleaseItems();
        m_page.ShowPageOf(c.nItem);
        EXPECT_EQ(Describe(), c.page);
    }
    m_page.ReleaseItems();
    m_page.ShowPageOf(13);
    Link(ID_PREV_THUMBS);
    EXPECT_EQ(Describe(), "0 1 2 3 4 5 6 7 |Next 8 thumbnails >>");
    Link(ID_NEXT_THUMBS);
    Link(ID_NEXT_THUMBS);
    EXPECT_EQ(Describe(), "16 17 18 19 - - - - <");
}

TEST_F(ThumbnailsPageTest, HidingLetsTheRecordsGoAndShowingAgainReloads) {
    Open(5);
    EXPECT_EQ(m_dir.Files().size(), 5u);
    m_page.ShowWindow(SW_HIDE);
    AfxPumpUntilIdle();
    EXPECT_TRUE(m_dir.Files().empty());
    m_page.ShowWindow(SW_SHOW);
    m_page.ShowPageOf(0);
    AfxPumpUntilIdle();
    EXPECT_EQ(m_dir.Files().size(), 5u);
    EXPECT_EQ(Describe(), "0 1 2 3 4 - - - ");
    EXPECT_SCREEN_NEAR(m_backend, 50 + 80, 68 + 235 + 100, ItemColour(4));
}

} // namespace

// The page's pictures are decoded reduced for the cells, yet every cell paints within a few
// levels of the same picture decoded at full size but along the bands' edges; their files go with
// the page.
TEST_F(ThumbnailsPageTest, ReducedDecodesPaintLikeFullOnesAndLeaveNoFiles) {
    const CSize sizes[] = {{1200, 900}, {900, 1200}, {1601, 1203}, {800, 800},
                           {1024, 683}, {683, 1024}, {2000, 700},  {700, 1999}};
    CCollectionWriter writer;
    writer.SetHeader("1.0 test");
    std::vector<std::vector<BYTE>> jpegs;
    for (int i = 0; i < 8; ++i) {
        ITEM_RECORD item = MakeTestItem(i, ItemColour(i));
        item.jpeg = MakeLargeBandedJpeg(sizes[i].cx, sizes[i].cy, ItemColour(i));
        jpegs.push_back(item.jpeg);
        writer.AddItem(item);
    }
    OpenFile(WriteTestCollection(writer, m_dir));
    ASSERT_EQ(Describe(), "0 1 2 3 4 5 6 7 ");
    for (int k = 0; k < 8; ++k) {
        CThumbnailCell* pCell = m_page.GetCell(k);
        const CItemPicture* pShown = pCell->GetPicture();
        ASSERT_NE(pShown, nullptr);
        BITMAP bm = {};
        ASSERT_TRUE(const_cast<CItemPicture*>(pShown)->GetBitmap(&bm));
        EXPECT_LT(bm.bmWidth, sizes[k].cx / 2) << k;
        EXPECT_LT(bm.bmHeight, sizes[k].cy / 2) << k;
        EXPECT_EQ(pShown->GetFullSize(), sizes[k]) << k;

        const std::vector<COLORREF> reduced = WindowPixels(m_backend, pCell);
        CItemPicture full;
        full.Decode(jpegs[k].data(), (DWORD)jpegs[k].size());
        pCell->SetPicture(&full, k);
        pCell->Invalidate();
        AfxPumpUntilIdle();
        EXPECT_LT(DifferingShare(reduced, WindowPixels(m_backend, pCell)), 0.05) << k;
        pCell->ClearPicture();
    }
    m_page.ShowWindow(SW_HIDE);
    AfxPumpUntilIdle();
    EXPECT_TRUE(m_dir.Files().empty());
}

// A damaged record fails the page's batch of decodes; only its own cell shows it.
TEST_F(ThumbnailsPageTest, ADamagedRecordMarksOnlyItsOwnCell) {
    CCollectionWriter writer;
    writer.AddItem(MakeTestItem(0, ItemColour(0)));
    // A readable name, then a text whose length runs past the end of the file.
    writer.AddRecordBytes({6, 'T', 'e', 'a', 'p', 'o', 't', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    writer.AddItem(MakeTestItem(2, ItemColour(2)));
    OpenFile(WriteTestCollection(writer, m_dir));
    ASSERT_EQ(Describe(), "0 1 2 - - - - - ");
    EXPECT_FALSE(m_page.GetCell(0)->IsDamaged());
    EXPECT_TRUE(m_page.GetCell(1)->IsDamaged());
    EXPECT_FALSE(m_page.GetCell(2)->IsDamaged());
    EXPECT_SCREEN_NEAR(m_backend, 50 + 80, 68 + 25 + 100, ItemColour(0));
    EXPECT_SCREEN_NEAR(m_backend, 410 + 80, 68 + 25 + 100, ItemColour(2));
    EXPECT_EQ(m_dir.Files().size(), 2u);
}
