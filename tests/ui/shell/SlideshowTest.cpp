// The running slideshow on the headless clock: its steps, its delays, its text and what stops it.
#include "shell/ShellFixture.h"

namespace {

// The delay text on screen, or "" while it is hidden.
CString DelayText(CViewerHarness& run) {
    const CWindowTree tree = run.Tree();
    for (const WINDOW_NODE& node : tree.Nodes())
        if (node.nDepth == 1 && node.bShown && node.strText.Find("Slideshow: ") == 0)
            return node.strText;
    return "";
}

void Wait(CViewerHarness& run, int nMilliseconds) {
    run.Screen().AdvanceTime((uint64_t)nMilliseconds);
    AfxPumpUntilIdle();
}

TEST(Slideshow, StepsThroughTheItemsAndStartsAgainAtTheFirst) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 3));
    ASSERT_TRUE(run.m_bCreated);
    CListCombo& list = run.List();
    run.Key('S');
    EXPECT_TRUE(run.Dlg().IsSlideshowRunning());
    EXPECT_FALSE(run.Screen().IsScreenSaverEnabled());
    EXPECT_EQ(run.View(), 'I');
    EXPECT_EQ(list.GetCurSel(), 3);
    EXPECT_EQ(DelayText(run), CString("Slideshow: 3 s"));
    Wait(run, 2999);
    EXPECT_EQ(list.GetCurSel(), 3);
    EXPECT_EQ(DelayText(run), CString(""));
    Wait(run, 1);
    EXPECT_EQ(list.GetCurSel(), 4);
    // After the last item the first, never Comments or Thumbnails.
    for (int nRow : {5, 3, 4}) {
        Wait(run, 3000);
        EXPECT_EQ(list.GetCurSel(), nRow);
        EXPECT_EQ(run.View(), 'I');
    }
}

TEST(Slideshow, PlusAndMinusStepTheDelayAndOtherInputStopsIt) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 4));
    ASSERT_TRUE(run.m_bCreated);
    CListCombo& list = run.List();
    run.Key(VK_F5);
    ASSERT_TRUE(run.Dlg().IsSlideshowRunning());
    run.Key(VK_SHIFT); // held for '+'
    run.Key(VK_OEM_PLUS, MK_SHIFT);
    EXPECT_EQ(DelayText(run), CString("Slideshow: 5 s"));
    Wait(run, 4999);
    EXPECT_EQ(list.GetCurSel(), 3);
    Wait(run, 1);
    EXPECT_EQ(list.GetCurSel(), 4);
    const struct {
        int vk, nDelay;
    } steps[] = {{VK_ADD, 8},      {VK_OEM_PLUS, 13}, {VK_OEM_PLUS, 13}, {VK_OEM_MINUS, 8},
                 {VK_SUBTRACT, 5}, {VK_OEM_MINUS, 3}, {VK_OEM_MINUS, 2}, {VK_OEM_MINUS, 2}};
    for (const auto& s : steps) {
        run.Key(s.vk);
        EXPECT_EQ(run.Dlg().GetSlideshowDelay(), s.nDelay) << s.vk;
        EXPECT_TRUE(run.Dlg().IsSlideshowRunning());
    }
    // Another key stops the show and does what it always does.
    run.Key(VK_RIGHT);
    EXPECT_FALSE(run.Dlg().IsSlideshowRunning());
    EXPECT_TRUE(run.Screen().IsScreenSaverEnabled());
    EXPECT_EQ(list.GetCurSel(), 5);
    Wait(run, 20000);
    EXPECT_EQ(list.GetCurSel(), 5);
    // Started on an item, the show goes on from there; a click stops it.
    run.Key('S');
    EXPECT_EQ(list.GetCurSel(), 5);
    Wait(run, 2000);
    EXPECT_EQ(list.GetCurSel(), 6);
    run.Click(400, 20);
    EXPECT_FALSE(run.Dlg().IsSlideshowRunning());
    Wait(run, 20000);
    EXPECT_EQ(list.GetCurSel(), 6);
    // 's' toggles.
    run.Key('S');
    run.Key('S');
    EXPECT_FALSE(run.Dlg().IsSlideshowRunning());
    EXPECT_TRUE(run.Screen().IsScreenSaverEnabled());
}

} // namespace
