// The keys of the main window land where their buttons and links would; the wheel steps the
// image view and scrolls the details.
#include "shell/ShellFixture.h"

namespace {

struct KEY_STEP {
    int vk;
    char cView;
    int nRow;
    int nFirstThumbnail; // checked on the thumbnails view only
};

void RunKeys(CViewerHarness& run, const std::vector<KEY_STEP>& steps) {
    int n = 0;
    for (const KEY_STEP& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << n++ << " key " << step.vk);
        run.Key(step.vk);
        EXPECT_EQ(run.View(), step.cView);
        EXPECT_EQ(run.List().GetCurSel(), step.nRow);
        if (step.cView == 'T') {
            EXPECT_EQ(run.FirstThumbnail(), step.nFirstThumbnail);
        }
    }
}

// Twelve items: two thumbnail pages, rows 3 to 14.
TEST(Keys, EachKeyDoesWhatItsButtonDoesAndNothingWhereThatIsNotShown) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 12));
    ASSERT_TRUE(run.m_bCreated);
    RunKeys(run, {{VK_SPACE, 'T', 1, 0}, {VK_SPACE, 'I', 3, 0},
                  {VK_BACK, 'T', 1, 0},  {VK_NEXT, 'T', 1, 8},
                  {VK_NEXT, 'T', 1, 8}, // no page after the last
                  {VK_PRIOR, 'T', 1, 0}, {VK_PRIOR, 'T', 1, 0},
                  {'I', 'T', 1, 0}, // no tabs on the thumbnails page
                  {'D', 'T', 1, 0},      {VK_END, 'I', 14, 0},
                  {VK_SPACE, 'C', 0, 0}, // the ring's ends meet both ways
                  {VK_BACK, 'I', 14, 0}, {'T', 'T', 1, 8},
                  {'C', 'C', 0, 0},      {'C', 'C', 0, 0},
                  {VK_NEXT, 'T', 1, 0}, // Page Down is NEXT outside the thumbnails page
                  {VK_HOME, 'I', 3, 0},  {VK_NEXT, 'I', 4, 0},
                  {VK_PRIOR, 'I', 3, 0}, {VK_PRIOR, 'T', 1, 0},
                  {VK_HOME, 'I', 3, 0},  {'D', 'D', 3, 0},
                  {VK_SPACE, 'D', 4, 0},                     // the details preference holds
                  {'I', 'I', 4, 0},      {'X', 'I', 4, 0}}); // a key of no command
    run.Key('Q');
    EXPECT_FALSE(run.Dlg().IsWindowVisible());
}

TEST(Keys, TheFocusedListKeepsItsOwnWalk) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 4));
    ASSERT_TRUE(run.m_bCreated);
    CListCombo& list = run.List();
    const CPoint field = WindowRectOf(list).CenterPoint();
    run.Click(field.x, field.y);
    run.Key(VK_ESCAPE);
    ASSERT_EQ(CWnd::GetFocus(), &list);
    // Home and End of the list are its first and last rows; Space and 'T' are the window's.
    RunKeys(run, {{VK_END, 'I', 6, 0},
                  {VK_HOME, 'C', 0, 0},
                  {VK_SPACE, 'T', 1, 0},
                  {VK_END, 'I', 6, 0},
                  {'T', 'T', 1, 0}});
}

// Item 0 has forty detail rows, more than its panel holds.
TEST(Wheel, StepsTheImageViewAndScrollsTheDetails) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    ITEM_RECORD tall = MakeTestItem(0, ItemColour(0));
    for (int i = 0; i < 40; ++i) {
        tall.detailNames.Add("Row");
        tall.detailValues.Add("a value");
    }
    writer.AddItem(tall);
    writer.AddItem(MakeTestItem(1, ItemColour(1)));
    CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    run.PickRow(3);
    const CPoint image = WindowRectOf(run.ImageCell()).CenterPoint();
    const struct {
        int nNotches;
        char cView;
        int nRow;
    } turns[] = {{-1, 'I', 4}, {1, 'I', 3}, {1, 'T', 1}, {1, 'T', 1}, {-1, 'T', 1}};
    for (const auto& t : turns) {
        run.Screen().QueueWheel(image.x, image.y, t.nNotches);
        AfxPumpUntilIdle();
        EXPECT_EQ(run.View(), t.cView) << t.nNotches;
        EXPECT_EQ(run.List().GetCurSel(), t.nRow) << t.nNotches;
    }
    run.PickRow(3);
    run.Command(ID_SHOW_DETAILS);
    XScrollPanel& panel = run.DetailsPanel();
    ASSERT_TRUE(panel.GetStyle() & WS_VSCROLL);
    const CPoint details = WindowRectOf(panel).CenterPoint();
    run.Screen().QueueWheel(details.x, details.y, -2);
    AfxPumpUntilIdle();
    const int nDown = panel.GetScrollOrigin().y;
    EXPECT_GT(nDown, 0);
    EXPECT_EQ(run.View(), 'D');
    EXPECT_EQ(run.List().GetCurSel(), 3);
    run.Screen().QueueWheel(details.x, details.y, 1);
    AfxPumpUntilIdle();
    EXPECT_EQ(panel.GetScrollOrigin().y, nDown / 2);
    EXPECT_EQ(run.View(), 'D');
}

} // namespace
