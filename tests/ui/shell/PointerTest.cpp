// The pointer over the paging links while the view changes under it: a hidden link neither
// keeps the mouse nor its hover colour.
#include "framework/window/Cursor.h"
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
    CLinkStatic& next = run.Thumbnails().GetNextLink();
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
    EXPECT_EQ(run.Dlg().GetNavigation().GetCurrent(), 0);
    run.Command(ID_SHOW_THUMBNAILS);
    EXPECT_EQ(run.FirstThumbnail(), 0);
}

TEST(Pointer, ALinkHiddenWhileHoveredLosesItsHoverColour) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 12));
    ASSERT_TRUE(run.m_bCreated);
    CLinkStatic& next = run.Thumbnails().GetNextLink();
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

namespace {

bool SameImage(const BackendImage& a, const BackendImage& b) {
    return a.width == b.width && a.height == b.height && a.hotX == b.hotX && a.hotY == b.hotY &&
           a.pixels == b.pixels;
}

TEST(Pointer, AThumbnailClickShowsTheWaitCursorWhileTheItemLoads) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 12));
    ASSERT_TRUE(run.m_bCreated);
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    ASSERT_NE(run.Screen().GetCursor(), nullptr);
    const BackendImage wait = *run.Screen().GetCursor();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    run.Command(ID_NEXT);
    ASSERT_EQ(run.View(), 'T');
    // Over the cell: the hand. Then the click, and no wait cursor was shown before it.
    run.Screen().QueueMove(230 + 80, 68 + 25 + 100);
    AfxPumpUntilIdle();
    const size_t nBefore = run.Screen().GetCursorsShown().size();
    run.Click(230 + 80, 68 + 25 + 100);
    ASSERT_EQ(run.View(), 'I');
    const std::vector<BackendImage>& shown = run.Screen().GetCursorsShown();
    int nWait = 0;
    for (size_t i = nBefore; i < shown.size(); ++i)
        nWait += SameImage(shown[i], wait);
    EXPECT_GE(nWait, 1);
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
    // Afterwards the pointer over the image view is no longer the wait cursor.
    const BackendImage* pNow = run.Screen().GetCursor();
    EXPECT_TRUE(pNow == nullptr || !SameImage(*pNow, wait));
}

} // namespace
