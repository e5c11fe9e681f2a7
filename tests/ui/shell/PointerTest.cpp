// The pointer over the paging links while the view changes under it: a hidden link neither
// keeps the mouse nor its hover colour.
#include "shell/ShellFixture.h"

namespace {

CPoint CentreOf(CWnd& wnd) {
    return WindowRectOf(wnd).CenterPoint();
}

// Pixels of the link's rectangle in its hover colour (cyan).
int HoverPixels(CViewerHarness& run, CWnd& link) {
    const CRect rc = WindowRectOf(link);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += NearColour(run.Screen().GetPresentedPixel(x, y), RGB(0, 255, 255), 40);
    return n;
}

TEST(Pointer, AHiddenLinkNeitherKeepsTheMouseNorTurnsItsPage) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 12));
    ASSERT_TRUE(run.m_bCreated);
    CLinkStatic& next = run.Dlg().m_thumbnailsPage.GetNextLink();
    run.Command(ID_NEXT);
    ASSERT_TRUE(next.IsWindowVisible());
    const CPoint pt = CentreOf(next);
    run.Screen().QueueMove(pt.x, pt.y);
    AfxPumpUntilIdle();
    ASSERT_TRUE(next.GetHover());
    EXPECT_GT(HoverPixels(run, next), 0);

    run.Key(VK_RIGHT);
    ASSERT_EQ(run.View(), 'I');
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    // The click lands on the image view, where nothing listens: the hidden page stays put.
    run.Click(pt.x, pt.y);
    EXPECT_EQ(run.Dlg().m_nCurrent, 0);
    run.Command(ID_SHOW_THUMBNAILS);
    EXPECT_EQ(run.FirstThumbnail(), 0);
}

TEST(Pointer, ALinkHiddenWhileHoveredLosesItsHoverColour) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 12));
    ASSERT_TRUE(run.m_bCreated);
    CLinkStatic& next = run.Dlg().m_thumbnailsPage.GetNextLink();
    run.Command(ID_NEXT);
    const CPoint pt = CentreOf(next);
    run.Screen().QueueMove(pt.x, pt.y);
    AfxPumpUntilIdle();
    ASSERT_TRUE(next.GetHover());
    run.Key(VK_RIGHT);
    run.Key(VK_LEFT);
    ASSERT_EQ(run.View(), 'T');
    ASSERT_TRUE(next.IsWindowVisible());
    run.Screen().QueueMove(20, 300);
    AfxPumpUntilIdle();
    EXPECT_FALSE(next.GetHover());
    EXPECT_EQ(HoverPixels(run, next), 0) << "screen saved as " << SaveFailureScreen(run.Screen());
    // Hovering again still works.
    run.Screen().QueueMove(pt.x, pt.y);
    AfxPumpUntilIdle();
    EXPECT_TRUE(next.GetHover());
    EXPECT_GT(HoverPixels(run, next), 0);
}

} // namespace
