// Windows leaving the tree: siblings keep their order whichever one goes, and a window brought
// to the top stays there. Removal takes constant time (bench_hostile measures 400,000 windows).
#include "WindowTestEnv.h"

#include <memory>

namespace {
const COLORREF RED = RGB(200, 0, 0), GREEN = RGB(0, 200, 0), BLUE = RGB(0, 0, 200),
               GREY = RGB(90, 90, 90);
} // namespace

TEST_F(WindowTest, SiblingsKeepTheirOrderWhicheverOneIsDestroyed) {
    CColourWnd top(GREY);
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 200, 100)));
    // Three children on the same spot: the first one made is the topmost.
    std::unique_ptr<CColourWnd> red(new CColourWnd(RED)), green(new CColourWnd(GREEN)),
        blue(new CColourWnd(BLUE));
    for (CColourWnd* p : {red.get(), green.get(), blue.get()})
        ASSERT_TRUE(p->Make(&top, CRect(10, 10, 60, 40)));
    // A fourth apart, to the right, so the probe also sees a window that stays.
    CColourWnd apart(BLUE);
    ASSERT_TRUE(apart.Make(&top, CRect(100, 10, 150, 40)));
    Pump();
    EXPECT_EQ(Pixel(20, 20), RED);

    blue->BringWindowToTop();
    blue->Invalidate();
    Pump();
    EXPECT_EQ(Pixel(20, 20), BLUE);

    blue.reset(); // the topmost goes: the one that was below it shows
    top.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
    EXPECT_EQ(Pixel(20, 20), RED);

    red.reset();
    top.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
    EXPECT_EQ(Pixel(20, 20), GREEN);
    EXPECT_EQ(Pixel(120, 20), BLUE);

    green.reset();
    top.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Pump();
    EXPECT_EQ(Pixel(20, 20), GREY);
    EXPECT_EQ(Pixel(120, 20), BLUE);
}
