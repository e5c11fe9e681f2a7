// The navigation ring, the list, the tabs, the thumbnail click, the arrow keys and a damaged item.
#include "framework/window/ComboList.h"
#include "shell/ShellFixture.h"

namespace {

// Runs a list of steps ('N'ext, 'P'revious, 'I'mage, 'D'etails, 'T'humbnails tab) and checks
// the view and list row after each.
struct STEP {
    char cAction;
    char cView;
    int nRow;
};

void RunSteps(CViewerHarness& run, const std::vector<STEP>& steps) {
    int n = 0;
    for (const STEP& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << n++ << " '" << step.cAction << "'");
        switch (step.cAction) {
        case 'N':
            run.Command(ID_NEXT);
            break;
        case 'P':
            run.Command(ID_PREVIOUS);
            break;
        case 'I':
            run.Command(ID_SHOW_IMAGE);
            break;
        case 'D':
            run.Command(ID_SHOW_DETAILS);
            break;
        case 'T':
            run.Command(ID_SHOW_THUMBNAILS);
            break;
        default:
            break;
        }
        EXPECT_EQ(run.View(), step.cView);
        EXPECT_EQ(run.List().GetCurSel(), step.nRow);
    }
}

TEST(Navigation, RingWithOneItem) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 1));
    ASSERT_TRUE(run.m_bCreated);
    EXPECT_EQ(run.Dlg().GetNavigation().GetLastRow(), 3);
    RunSteps(
        run,
        {{'N', 'T', 1}, {'N', 'I', 3}, {'N', 'C', 0}, {'P', 'I', 3}, {'P', 'T', 1}, {'P', 'C', 0}});
}

TEST(Navigation, RingWalksEveryItemBothWays) {
    CScopedTempDir dir;
    CViewerHarness run(1024, 768, WriteItems(dir, 3));
    ASSERT_TRUE(run.m_bCreated);
    RunSteps(run, {{'N', 'T', 1},
                   {'N', 'I', 3},
                   {'N', 'I', 4},
                   {'N', 'I', 5},
                   {'N', 'C', 0},
                   {'P', 'I', 5},
                   {'P', 'I', 4},
                   {'P', 'I', 3},
                   {'P', 'T', 1},
                   {'P', 'C', 0}});
    // The image view shows the current item's picture, centred in 800 × 475 at (112, 152).
    run.PickRow(4);
    EXPECT_EQ(run.View(), 'I');
    EXPECT_EQ(run.Dlg().GetNavigation().GetCurrent(), 1);
    EXPECT_SCREEN_NEAR(run.Screen(), 112 + 400, 152 + 237, ItemColour(1));
    EXPECT_TRUE(run.Control(ID_SHOW_IMAGE).IsWindowVisible());
    EXPECT_TRUE(run.Control(ID_SHOW_IMAGE).IsWindowEnabled());
}

TEST(Navigation, PictureShowsTheJpegsFirstRowsAtTheBottom) {
    CScopedTempDir dir;
    CViewerHarness run(1024, 768, WriteItems(dir, 2));
    ASSERT_TRUE(run.m_bCreated);
    run.PickRow(4);
    ASSERT_EQ(run.View(), 'I');
    // 40 × 30 at full size around (512, 389): screen rows 374 to 403, columns 492 to 531.
    const int cx = 112 + 400, cy = 152 + 237;
    EXPECT_SCREEN_NEAR(run.Screen(), cx, 403 - 2, TEST_PICTURE_TOP_BAND);
    EXPECT_SCREEN_NEAR(run.Screen(), cx, 374 + 2, ItemColour(1));
    EXPECT_SCREEN_NEAR(run.Screen(), 492 + 2, cy, TEST_PICTURE_LEFT_BAND);
    EXPECT_SCREEN_NEAR(run.Screen(), 531 - 2, cy, ItemColour(1));
}

TEST(Navigation, ListRowsIncludingTheSeparator) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 12));
    ASSERT_TRUE(run.m_bCreated);
    run.PickRow(10);
    EXPECT_EQ(run.View(), 'I');
    EXPECT_EQ(run.Dlg().GetNavigation().GetCurrent(), 7);
    run.PickRow(2);
    EXPECT_EQ(run.View(), 'T');
    EXPECT_EQ(run.List().GetCurSel(), 1);
    EXPECT_EQ(run.FirstThumbnail(), 0);
    run.PickRow(0);
    EXPECT_EQ(run.View(), 'C');
    run.PickRow(14);
    run.PickRow(1);
    EXPECT_EQ(run.View(), 'T');
    EXPECT_EQ(run.FirstThumbnail(), 0);
}

TEST(Navigation, ThumbnailsTabOpensThePageOfTheCurrentItem) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 20));
    ASSERT_TRUE(run.m_bCreated);
    struct {
        int nItem;
        int nFirst;
        int nShown;
    } cases[] = {{13, 8, 8}, {16, 16, 4}, {0, 0, 8}, {7, 0, 8}, {19, 16, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "item " << c.nItem);
        run.PickRow(c.nItem + 3);
        run.Command(ID_SHOW_THUMBNAILS);
        EXPECT_EQ(run.View(), 'T');
        EXPECT_EQ(run.List().GetCurSel(), 1);
        EXPECT_EQ(run.FirstThumbnail(), c.nFirst);
        EXPECT_EQ(run.Thumbnails().GetShownCount(), c.nShown);
    }
    // Reached by NEXT from Comments or PREVIOUS from the first item: always the first page.
    run.PickRow(13 + 3);
    run.PickRow(0);
    run.Command(ID_NEXT);
    EXPECT_EQ(run.FirstThumbnail(), 0);
    run.PickRow(3);
    run.Command(ID_PREVIOUS);
    EXPECT_EQ(run.FirstThumbnail(), 0);
}

TEST(Navigation, DetailsTabIsAPreferenceAndPicturelessItemsFallBack) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    for (int i = 0; i < 5; ++i)
        writer.AddItem(MakeTestItem(i, ItemColour(i), i != 2));
    CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    CViewerDlg& d = run.Dlg();
    RunSteps(run, {{'N', 'T', 1}, {'N', 'I', 3}, {'D', 'D', 3}, {'D', 'D', 3}, {'N', 'D', 4}});
    EXPECT_TRUE(d.GetNavigation().PrefersDetails());
    RunSteps(run, {{'I', 'I', 4}, {'I', 'I', 4}});
    EXPECT_FALSE(d.GetNavigation().PrefersDetails());
    // Item 2 has no picture: details with IMAGE disabled, the preference stays with the image.
    RunSteps(run, {{'N', 'D', 5}});
    EXPECT_FALSE(run.Control(ID_SHOW_IMAGE).IsWindowEnabled());
    EXPECT_FALSE(d.GetNavigation().PrefersDetails());
    EXPECT_TRUE(run.DetailsCell().IsWindowVisible());
    EXPECT_FALSE(run.DetailsCell().m_bHasPicture);
    RunSteps(run, {{'N', 'I', 6}});
    EXPECT_TRUE(run.Control(ID_SHOW_IMAGE).IsWindowEnabled());
    // The tabs show with the item views only.
    for (CWnd* pTab : {&run.Control(ID_SHOW_IMAGE), &run.Control(ID_SHOW_DETAILS),
                       &run.Control(ID_SHOW_THUMBNAILS)})
        EXPECT_TRUE(pTab->IsWindowVisible());
    run.PickRow(0);
    for (CWnd* pTab : {&run.Control(ID_SHOW_IMAGE), &run.Control(ID_SHOW_DETAILS),
                       &run.Control(ID_SHOW_THUMBNAILS)})
        EXPECT_FALSE(pTab->IsWindowVisible());
    EXPECT_FALSE(d.HoldsItem());
}

TEST(Navigation, ThumbnailClickOpensTheItemAndSelectsItsRow) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    for (int i = 0; i < 12; ++i)
        writer.AddItem(MakeTestItem(i, ItemColour(i), i != 10));
    CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    CViewerDlg& d = run.Dlg();
    run.Command(ID_NEXT);
    ASSERT_EQ(run.View(), 'T');
    // Cell 5 of the first page stands at (230, 235) in the page at (0, 68).
    run.Click(230 + 80, 68 + 235 + 100);
    EXPECT_EQ(run.View(), 'I');
    EXPECT_EQ(d.GetNavigation().GetCurrent(), 5);
    EXPECT_EQ(run.List().GetCurSel(), 8);
    EXPECT_FALSE(d.GetNavigation().PrefersDetails());
    // One record held, one picture file: the click loaded the item once.
    EXPECT_TRUE(d.HoldsItem());
    EXPECT_EQ(dir.Files().size(), 2u); // and the Comments page's first record
    EXPECT_SCREEN_NEAR(run.Screen(), 400, 68 + 237, ItemColour(5));

    // A picture-less item opens in the details view and the preference follows.
    run.Command(ID_SHOW_THUMBNAILS);
    ASSERT_EQ(run.FirstThumbnail(), 0);
    run.Thumbnails().SendMessage(WM_COMMAND, MAKEWPARAM(ID_NEXT_THUMBS, 0),
                                 (LPARAM)run.Thumbnails().GetNextLink().GetSafeHwnd());
    AfxPumpUntilIdle();
    ASSERT_EQ(run.FirstThumbnail(), 8);
    run.Click(410 + 80, 68 + 25 + 100); // cell 2: item 10
    EXPECT_EQ(run.View(), 'D');
    EXPECT_EQ(d.GetNavigation().GetCurrent(), 10);
    EXPECT_EQ(run.List().GetCurSel(), 13);
    EXPECT_TRUE(d.GetNavigation().PrefersDetails());
    EXPECT_FALSE(run.Control(ID_SHOW_IMAGE).IsWindowEnabled());
}

TEST(Navigation, ArrowKeysStepLikePreviousAndNextUnlessTheListIsDropped) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 3));
    ASSERT_TRUE(run.m_bCreated);
    run.Key(VK_RIGHT);
    EXPECT_EQ(run.View(), 'T');
    run.Key(VK_RIGHT);
    EXPECT_EQ(run.View(), 'I');
    run.Key(VK_LEFT);
    EXPECT_EQ(run.View(), 'T');
    run.Key(VK_LEFT);
    EXPECT_EQ(run.View(), 'C');
    run.List().ShowDropDown(TRUE);
    AfxPumpUntilIdle();
    ASSERT_TRUE(run.List().GetDroppedState());
    run.Key(VK_RIGHT);
    EXPECT_EQ(run.View(), 'C');
    EXPECT_EQ(run.List().GetCurSel(), 0);
}

TEST(Navigation, DamagedItemShowsInItsPlaceAndTheRingGoesOn) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.AddItem(MakeTestItem(0, ItemColour(0)));
    // A readable name, then a text whose length runs past the end of the file.
    writer.AddRecordBytes({6, 'T', 'e', 'a', 'p', 'o', 't', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    writer.AddItem(MakeTestItem(2, ItemColour(2)));
    CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    CViewerDlg& d = run.Dlg();
    for (UINT nTab : {(UINT)ID_SHOW_IMAGE, (UINT)ID_SHOW_DETAILS}) {
        SCOPED_TRACE(nTab == ID_SHOW_IMAGE ? "image view preferred" : "details view preferred");
        run.PickRow(3);
        run.Command(nTab);
        const char cPreferred = nTab == ID_SHOW_IMAGE ? 'I' : 'D';
        RunSteps(run, {{'N', 'I', 4}});
        EXPECT_TRUE(run.ImageCell().IsDamaged());
        EXPECT_EQ(d.GetNavigation().GetCurrent(), 1);
        EXPECT_FALSE(d.HoldsItem());
        EXPECT_FALSE(run.Control(ID_SHOW_IMAGE).IsWindowEnabled());
        EXPECT_FALSE(run.DetailsCell().IsWindowVisible());
        // Its placeholder, crossed out, in the middle of the view; the name under it.
        EXPECT_SCREEN_NEAR(run.Screen(), 400, 68 + 237 - 32, RGB(160, 160, 160));
        EXPECT_SCREEN_NEAR(run.Screen(), 400 - 16 + 8, 68 + 237 - 32 + 8, RGB(160, 160, 160));
        EXPECT_SCREEN_NEAR(run.Screen(), 400 - 16 + 8, 68 + 237 - 32 + 20, RGB(0, 0, 0));
        int nWhite = 0;
        for (int y = 68 + 237 + 8; y < 68 + 237 + 50; ++y)
            for (int x = 200; x < 600; ++x)
                nWhite += NearColour(run.Screen().GetPixel(x, y), RGB(255, 255, 255), 80);
        EXPECT_GT(nWhite, 30) << "no name and note under the placeholder; screen saved as "
                              << SaveFailureScreen(run.Screen());
        // No message box: the ring goes on past it, both ways, in the preferred view.
        RunSteps(run, {{'N', cPreferred, 5}, {'P', 'I', 4}, {'P', cPreferred, 3}});
        EXPECT_TRUE(run.Screen().GetMessages().empty());
    }
    // The thumbnails page shows it in its cell, and a click on it opens it in place.
    run.Command(ID_SHOW_IMAGE);
    run.Command(ID_SHOW_THUMBNAILS);
    ASSERT_TRUE(run.Thumbnails().GetCell(1)->IsDamaged());
    run.Click(230 + 80, 68 + 25 + 100);
    EXPECT_EQ(run.View(), 'I');
    EXPECT_TRUE(run.ImageCell().IsDamaged());
    EXPECT_EQ(run.List().GetCurSel(), 4);
    EXPECT_FALSE(d.GetNavigation().PrefersDetails());
    run.Command(ID_SHOW_THUMBNAILS);
    EXPECT_EQ(run.FirstThumbnail(), 0);
}

} // namespace

namespace {

TEST(Navigation, TheListIsWalkedWithTheKeyboardOverTheSeparator) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 12));
    ASSERT_TRUE(run.m_bCreated);
    CListCombo& list = run.List();
    const CPoint field = WindowRectOf(list).CenterPoint();
    run.Click(field.x, field.y);
    ASSERT_TRUE(list.GetDroppedState());
    ASSERT_EQ(CWnd::GetFocus(), &list);
    // In the open list the highlight steps over the separator both ways; Enter picks.
    CComboList* pDropped = list.GetDroppedList();
    const int highlights[][2] = {{VK_DOWN, 1}, {VK_DOWN, 3}, {VK_UP, 1},
                                 {VK_END, 14}, {VK_HOME, 0}, {VK_DOWN, 1}};
    for (const auto& h : highlights) {
        run.Key(h[0]);
        EXPECT_EQ(pDropped->GetHighlight(), h[1]) << "key " << h[0];
    }
    EXPECT_EQ(run.View(), 'C');
    run.Key(VK_RETURN);
    EXPECT_FALSE(list.GetDroppedState());
    EXPECT_EQ(run.View(), 'T');
    // The closed list: each key picks a row at once, as a list pick does.
    struct {
        int vk;
        int nRow;
        char cView;
    } steps[] = {{VK_DOWN, 3, 'I'}, {VK_DOWN, 4, 'I'}, {VK_UP, 3, 'I'},   {VK_UP, 1, 'T'},
                 {VK_UP, 0, 'C'},   {VK_UP, 0, 'C'},   {VK_END, 14, 'I'}, {VK_DOWN, 14, 'I'},
                 {VK_HOME, 0, 'C'}, {VK_NEXT, 0, '?'}, {VK_PRIOR, 0, 'C'}};
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "key " << s.vk);
        run.Key(s.vk);
        if (s.cView == '?') {
            // A page down from the top lands on some item, never the separator.
            EXPECT_GE(list.GetCurSel(), 3);
            EXPECT_EQ(run.View(), 'I');
            EXPECT_EQ(run.Dlg().GetNavigation().GetCurrent(), list.GetCurSel() - 3);
            continue;
        }
        EXPECT_EQ(list.GetCurSel(), s.nRow);
        EXPECT_EQ(run.View(), s.cView);
    }
    // F4 and Alt+Down open the list; Escape closes it without a pick, F4 picks.
    run.Key(VK_F4);
    EXPECT_TRUE(list.GetDroppedState());
    run.Key(VK_ESCAPE);
    EXPECT_FALSE(list.GetDroppedState());
    EXPECT_TRUE(run.Dlg().IsWindowVisible());
    run.Key(VK_DOWN, MK_ALT);
    ASSERT_TRUE(list.GetDroppedState());
    run.Key(VK_DOWN);
    run.Key(VK_F4);
    EXPECT_FALSE(list.GetDroppedState());
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(run.View(), 'T');
    // With the list closed, Enter still ends the program.
    ASSERT_EQ(CWnd::GetFocus(), &list);
    run.Key(VK_RETURN);
    EXPECT_FALSE(run.Dlg().IsWindowVisible());
}

} // namespace

namespace {

// An item whose picture cannot be decoded says so once per view switch: it is loaded once,
// though the image view gives way to its details.
TEST(Navigation, AnUndecodablePictureIsLoadedOnceAndItsDetailsShow) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.AddItem(MakeTestItem(0, ItemColour(0)));
    ITEM_RECORD broken = MakeTestItem(1, ItemColour(1));
    broken.bPicture = TRUE;
    broken.jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x99};
    writer.AddItem(broken);
    CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    run.PickRow(3);
    ASSERT_EQ(run.View(), 'I');
    testing::internal::CaptureStderr();
    run.Command(ID_NEXT);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(run.View(), 'D');
    EXPECT_FALSE(run.Control(ID_SHOW_IMAGE).IsWindowEnabled());
    EXPECT_FALSE(run.Dlg().GetNavigation().PrefersDetails());
    // The library's last word on the picture, once per decode.
    const std::string last = "contains no image";
    size_t nSaid = 0;
    for (size_t at = said.find(last); at != std::string::npos; at = said.find(last, at + 1))
        ++nSaid;
    EXPECT_EQ(nSaid, 1u) << said;
}

} // namespace
