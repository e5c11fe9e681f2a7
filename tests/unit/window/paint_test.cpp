// Painting on the one screen: update areas, erase then paint, the order of windows, direct
// contexts and what is handed to the display.
#include "WindowTestEnv.h"

#include "framework/window/Dialog.h"
#include "framework/window/RectList.h"
#include "framework/window/WindowDC.h"

namespace {
const COLORREF RED = RGB(200, 0, 0), GREEN = RGB(0, 200, 0), BLUE = RGB(0, 0, 200);

// Paints nothing itself: what shows is its erase.
class CErasedWnd : public CWnd {
public:
    int m_nErases = 0;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override {
        ++m_nErases;
        return CWnd::OnEraseBkgnd(pDC);
    }
};
} // namespace

TEST_F(WindowTest, HiddenWindowsNeverPaint) {
    CColourWnd top(RED), child(GREEN);
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(child.Make(&top, CRect(10, 10, 30, 30), 0));
    Pump();
    EXPECT_EQ(child.m_nPaints, 0);
    child.Invalidate();
    child.UpdateWindow();
    child.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(child.m_nPaints, 0);
    EXPECT_EQ(Pixel(15, 15), RED);
    // Drawing through a context of a hidden window touches nothing.
    CDC* pDC = child.GetDC();
    pDC->FillSolidRect(0, 0, 20, 20, BLUE);
    child.ReleaseDC(pDC);
    EXPECT_EQ(Pixel(15, 15), RED);

    child.ShowWindow(SW_SHOW);
    Pump();
    EXPECT_EQ(child.m_nPaints, 1);
    EXPECT_EQ(Pixel(15, 15), GREEN);
    // Hiding uncovers the parent, which repaints the area.
    child.ShowWindow(SW_HIDE);
    Pump();
    EXPECT_EQ(Pixel(15, 15), RED);
    top.DestroyWindow();
}

TEST_F(WindowTest, ChildrenPaintAfterTheirParentAndAllChildrenRedraws) {
    std::vector<std::string> order;
    CColourWnd top(RED), a(GREEN), b(BLUE);
    top.m_pOrder = a.m_pOrder = b.m_pOrder = &order;
    top.m_strName = "top";
    a.m_strName = "a";
    b.m_strName = "b";
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 100, 100), WS_VISIBLE | WS_CLIPCHILDREN));
    ASSERT_TRUE(a.Make(&top, CRect(0, 0, 10, 10)));
    ASSERT_TRUE(b.Make(&top, CRect(20, 0, 30, 10)));
    Pump();
    EXPECT_EQ(order.front(), "top");
    EXPECT_EQ(order.size(), 3u);

    // With WS_CLIPCHILDREN a plain invalidation leaves the children alone...
    order.clear();
    top.Invalidate();
    Pump();
    EXPECT_EQ(order, std::vector<std::string>{"top"});
    EXPECT_EQ(Pixel(5, 5), GREEN); // ...and painting the parent did not cover them.
    // ...and RDW_ALLCHILDREN repaints them too, after the parent.
    order.clear();
    top.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], "top");
    // RDW_UPDATENOW paints at once, before the loop turns.
    order.clear();
    a.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(order, std::vector<std::string>{"a"});
    top.DestroyWindow();
}

TEST_F(WindowTest, ParentWithoutClipChildrenRepaintsTheChildrenItCovers) {
    CColourWnd top(RED), child(GREEN);
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(child.Make(&top, CRect(10, 10, 30, 30)));
    Pump();
    int nBefore = child.m_nPaints;
    top.Invalidate();
    Pump();
    EXPECT_EQ(child.m_nPaints, nBefore + 1);
    EXPECT_EQ(Pixel(15, 15), GREEN);
    // An invalidation that misses the child leaves it alone.
    CRect rcElsewhere(50, 50, 60, 60);
    top.InvalidateRect(&rcElsewhere);
    Pump();
    EXPECT_EQ(child.m_nPaints, nBefore + 1);
    top.DestroyWindow();
}

TEST_F(WindowTest, PopupsStayAboveTheWindowsBelowThem) {
    CColourWnd main(RED), child(GREEN), popup(BLUE);
    ASSERT_TRUE(main.Make(nullptr, CRect(0, 0, 320, 240), WS_VISIBLE | WS_CLIPCHILDREN));
    ASSERT_TRUE(child.Make(&main, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(popup.Make(&main, CRect(50, 50, 150, 150), WS_VISIBLE | WS_POPUP));
    Pump();
    EXPECT_EQ(Pixel(60, 60), BLUE);
    // Lower windows repaint, and draw straight on the screen, without covering the pop-up.
    main.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
    CDC* pDC = child.GetDC();
    pDC->FillSolidRect(0, 0, 100, 100, RGB(9, 9, 9));
    child.ReleaseDC(pDC);
    EXPECT_EQ(Pixel(60, 60), BLUE);
    EXPECT_EQ(Pixel(40, 40), RGB(9, 9, 9));
    EXPECT_EQ(Pixel(120, 120), BLUE);
    // Hiding the pop-up shows what lies beneath again.
    popup.ShowWindow(SW_HIDE);
    Pump();
    EXPECT_EQ(Pixel(120, 120), RED);
    EXPECT_EQ(Pixel(60, 60), GREEN);
    main.DestroyWindow();
}

TEST_F(WindowTest, WindowContextOfTheMainWindowReachesOverItsChildren) {
    CColourWnd main(RED), child(GREEN);
    ASSERT_TRUE(main.Make(nullptr, CRect(0, 0, 320, 240), WS_VISIBLE | WS_CLIPCHILDREN));
    ASSERT_TRUE(child.Make(&main, CRect(10, 10, 110, 110)));
    Pump();
    {
        CWindowDC dc(&main);
        dc.FillSolidRect(0, 0, 320, 240, BLUE);
    }
    EXPECT_EQ(Pixel(50, 50), BLUE);
    // A client context of a WS_CLIPCHILDREN window leaves the children's pixels alone.
    CDC* pDC = main.GetDC();
    pDC->FillSolidRect(0, 0, 320, 240, RED);
    main.ReleaseDC(pDC);
    EXPECT_EQ(Pixel(50, 50), BLUE);
    EXPECT_EQ(Pixel(200, 200), RED);
    main.DestroyWindow();
}

TEST_F(WindowTest, EraseUsesTheClassBrushOrTheDialogColourAnswer) {
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, nullptr, (HBRUSH)GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(CString(cls), CString(AfxRegisterWndClass(CS_DBLCLKS, nullptr,
                                                        (HBRUSH)GetStockObject(BLACK_BRUSH))));
    CErasedWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, cls, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));
    // A system colour index + 1 stands for that colour's brush.
    CErasedWnd sys;
    LPCTSTR clsSys = AfxRegisterWndClass(0, nullptr, (HBRUSH)(ULONG_PTR)(COLOR_HIGHLIGHT + 1));
    ASSERT_TRUE(
        sys.CreateEx(0, clsSys, "", WS_POPUP | WS_VISIBLE, CRect(60, 0, 110, 50), nullptr, 0));

    class CBlueDialog : public CDialog {
    protected:
        HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override {
            if (nCtlColor == CTLCOLOR_DLG)
                return m_brush;
            return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        }

    public:
        CBrush m_brush{RGB(0, 0, 200)};
    } dlg;
    ASSERT_TRUE(
        dlg.CreateEx(0, "#32770", "", WS_POPUP | WS_VISIBLE, CRect(120, 0, 170, 50), nullptr, 0));
    Pump();
    EXPECT_EQ(plain.m_nErases, 1);
    EXPECT_EQ(Pixel(10, 10), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(70, 10), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Pixel(130, 10), BLUE);
    // Invalidating without erase paints without erasing.
    plain.Invalidate(FALSE);
    Pump();
    EXPECT_EQ(plain.m_nErases, 1);
    // An unknown class creates nothing.
    CWnd none;
    EXPECT_FALSE(none.CreateEx(0, "NoSuchClass", "", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    plain.DestroyWindow();
    sys.DestroyWindow();
    dlg.DestroyWindow();
}

TEST_F(WindowTest, ChangesAreShownOncePerTurnInFewRectangles) {
    CColourWnd top(RED), a(GREEN), b(BLUE);
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 320, 240), WS_VISIBLE | WS_CLIPCHILDREN));
    ASSERT_TRUE(a.Make(&top, CRect(0, 0, 10, 10)));
    ASSERT_TRUE(b.Make(&top, CRect(200, 200, 210, 210)));
    Pump();
    EXPECT_EQ(m_backend.GetPresentedPixel(5, 5), GREEN);
    int nPresents = m_backend.GetPresentCount();
    a.Invalidate();
    b.Invalidate();
    Pump();
    EXPECT_EQ(m_backend.GetPresentCount(), nPresents + 1);
    std::vector<CRect> shown = m_backend.GetLastPresented();
    EXPECT_EQ(shown.size(), 2u);
    // Nothing waits, nothing is presented.
    Pump();
    EXPECT_EQ(m_backend.GetPresentCount(), nPresents + 1);
    top.DestroyWindow();
}

TEST(RectListTest, MergesOverlapsAndBoundsFloods) {
    struct Case {
        std::vector<CRect> in;
        size_t expected;
    } cases[] = {
        {{CRect(0, 0, 10, 10), CRect(5, 5, 15, 15)}, 1},       // overlapping
        {{CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)}, 1},      // touching: no extra area
        {{CRect(0, 0, 10, 10), CRect(100, 100, 110, 110)}, 2}, // far apart
        {{CRect(0, 0, 10, 10), CRect(3, 3, 3, 9)}, 1},         // empty ones dropped
        {{CRect(0, 0, 10, 10), CRect(2, 2, 4, 4)}, 1},         // contained
    };
    for (Case& c : cases) {
        AfxMergeRects(c.in);
        EXPECT_EQ(c.in.size(), c.expected);
    }
    std::vector<CRect> flood;
    for (int i = 0; i < 100; ++i)
        flood.push_back(CRect(i * 20, 0, i * 20 + 5, 5));
    AfxMergeRects(flood, 16);
    ASSERT_EQ(flood.size(), 1u);
    EXPECT_EQ(flood[0], CRect(0, 0, 1985, 5));
}
