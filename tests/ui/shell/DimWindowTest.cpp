// The darkening under the About box: two pattern passes that leave every pixel with an even
// x + y (counted from the window's corner) at RGB(10,10,10) and every other pixel as it was.
#include <gtest/gtest.h>

#include "shell/ViewerDlg.h"
#include "tests/unit/gdi/GdiTestSupport.h"

TEST(DimWindow, DarkensACheckerboardAlignedToTheWindow) {
    CViewerDlg dlg;
    struct Case {
        CPoint origin;    // the window's corner on the surface
        CPoint windowOrg; // logical scrolling must not move the pattern
    } cases[] = {{{0, 0}, {0, 0}}, {{3, 2}, {0, 0}}, {{1, 0}, {5, 7}}, {{-3, -1}, {0, 0}}};
    for (const Case& c : cases) {
        CTestSurface s(19, 13);
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 19; ++x)
                s.At(x, y) = 0x406080 + (uint32_t)(x * 7 + y * 3) * 0x010101;
        CTestSurface before = s;
        CSurfaceDC dc(s, c.origin);
        dc.SetWindowOrg(c.windowOrg);
        dlg.DimWindow(&dc, CRect(c.windowOrg.x - 50, c.windowOrg.y - 50, 1000, 1000));
        int wrong = 0;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 19; ++x) {
                const bool dark = ((x - c.origin.x) + (y - c.origin.y)) % 2 == 0;
                wrong += s.At(x, y) != (dark ? 0x0A0A0A : before.At(x, y));
            }
        EXPECT_EQ(wrong, 0) << "origin " << c.origin.x << "," << c.origin.y;
        EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));
        EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    }
}
