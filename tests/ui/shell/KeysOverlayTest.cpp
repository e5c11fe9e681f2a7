// The list of keys: F1 or ? opens it over the frame; the next key or click only closes it.
#include "shell/ShellFixture.h"

namespace {

const WINDOW_NODE* Overlay(const CWindowTree& tree) {
    for (const WINDOW_NODE& node : tree.Nodes())
        if (node.nDepth == 1 && node.strText.Find("Keys\n") == 0)
            return &node;
    return nullptr;
}

BOOL OverlayShown(CViewerHarness& run) {
    const CWindowTree tree = run.Tree();
    const WINDOW_NODE* pNode = Overlay(tree);
    return pNode != nullptr && pNode->bShown;
}

TEST(KeysOverlay, OpensOverTheFrameAndTheNextKeyOrClickOnlyClosesIt) {
    CScopedTempDir dir;
    CViewerHarness run(1024, 768, WriteItems(dir, 3));
    ASSERT_TRUE(run.m_bCreated);
    EXPECT_EQ(Overlay(run.Tree()), nullptr);
    run.Key(VK_F1);
    ASSERT_TRUE(OverlayShown(run));
    // Centred on the frame (112, 84)-(912, 684); white frame, white text on black.
    const CRect rc = Overlay(run.Tree())->rcWindow;
    EXPECT_EQ(rc.CenterPoint(), CPoint(512, 384));
    EXPECT_SCREEN_NEAR(run.Screen(), rc.left, rc.top + 20, RGB(255, 255, 255));
    EXPECT_SCREEN_NEAR(run.Screen(), rc.right - 2, rc.bottom - 2, RGB(0, 0, 0));
    // The key that closes it does nothing else.
    run.Key(VK_SPACE);
    EXPECT_FALSE(OverlayShown(run));
    EXPECT_EQ(run.View(), 'C');
    run.Key(VK_OEM_2);
    ASSERT_TRUE(OverlayShown(run));
    const CRect next = WindowRectOf(run.Control(ID_NEXT));
    run.Click(next.CenterPoint().x, next.CenterPoint().y);
    EXPECT_FALSE(OverlayShown(run));
    EXPECT_EQ(run.View(), 'C');
    EXPECT_EQ(run.List().GetCurSel(), 0);
    // Escape too only closes it; the next one ends the program.
    run.Key(VK_F1);
    run.Key(VK_ESCAPE);
    EXPECT_FALSE(OverlayShown(run));
    EXPECT_TRUE(run.Dlg().IsWindowVisible());
    run.Key(VK_ESCAPE);
    EXPECT_FALSE(run.Dlg().IsWindowVisible());
}

} // namespace
