// The navigation model on its own: the ring, list picks, tabs, thumbnail clicks and the fallback
// of an item without a picture, as tables of inputs and what the window is to show after each.
#include <gtest/gtest.h>

#include <vector>

#include "shell/Navigation.h"

namespace {

const int C = VIEW_COMMENTS, T = VIEW_THUMBNAILS, I = VIEW_IMAGE, D = VIEW_DETAILS;
const int STAY = CNavigation::VIEW_NONE;

// One input and what it answers. Inputs: 'N'ext, 'P'revious, 'r' pick row nArg, 'c' click the
// cell of item nArg with a picture, 'n' one without, 'x' a damaged one, 'I', 'D', 'T' tabs,
// '-' the window found no picture, '!' the window found the record damaged.
struct STEP {
    char cInput;
    int nArg = 0;
    int nView = STAY; // STAY: nothing changes on screen
    int nRow = 0;
    int nItem = 0;
    int nPageFirst = 0;
};

NAV_SHOW Apply(CNavigation& nav, const STEP& step) {
    switch (step.cInput) {
    case 'N':
        return nav.Next();
    case 'P':
        return nav.Previous();
    case 'r':
        return nav.PickRow(step.nArg);
    case 'c':
        return nav.ClickCell(step.nArg, TRUE, FALSE);
    case 'n':
        return nav.ClickCell(step.nArg, FALSE, FALSE);
    case 'x':
        return nav.ClickCell(step.nArg, FALSE, TRUE);
    case 'I':
        return nav.ImageTab();
    case 'D':
        return nav.DetailsTab();
    case 'T':
        return nav.ThumbnailsTab();
    case '-':
        nav.ShownWithoutPicture();
        break;
    case '!':
        nav.ShownDamaged();
        break;
    }
    return NAV_SHOW{STAY, nav.GetRow(), nav.GetCurrent(), 0, TRUE};
}

void Walk(CNavigation& nav, const std::vector<STEP>& steps) {
    int n = 0;
    for (const STEP& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << n++ << " '" << step.cInput << "'");
        const NAV_SHOW show = Apply(nav, step);
        if (step.cInput == '-' || step.cInput == '!')
            continue;
        if (step.nView == STAY) {
            EXPECT_TRUE(show.bStay);
            continue;
        }
        EXPECT_FALSE(show.bStay);
        EXPECT_EQ(show.nView, step.nView);
        EXPECT_EQ(show.nRow, step.nRow);
        EXPECT_EQ(nav.GetRow(), step.nRow);
        if (step.nView == I || step.nView == D) {
            EXPECT_EQ(show.nItem, step.nItem);
            EXPECT_EQ(nav.GetCurrent(), step.nItem);
        }
        if (step.nView == T) {
            EXPECT_EQ(show.nPageFirst, step.nPageFirst);
        }
    }
}

TEST(NavigationModel, TheRingWalksBothWaysOverTheSeparator) {
    CNavigation nav(3);
    EXPECT_EQ(nav.GetLastRow(), 5);
    EXPECT_EQ(nav.GetRow(), CNavigation::ROW_COMMENTS);
    Walk(nav, {{'N', 0, T, 1, 0, 0},
               {'N', 0, I, 3, 0},
               {'N', 0, I, 4, 1},
               {'N', 0, I, 5, 2},
               {'N', 0, C, 0},
               {'P', 0, I, 5, 2},
               {'P', 0, I, 4, 1},
               {'P', 0, I, 3, 0},
               {'P', 0, T, 1, 0, 0},
               {'P', 0, C, 0}});
}

TEST(NavigationModel, OneItemMakesAShortRing) {
    CNavigation nav(1);
    EXPECT_EQ(nav.GetLastRow(), 3);
    Walk(nav, {{'N', 0, T, 1, 0, 0},
               {'N', 0, I, 3, 0},
               {'N', 0, C, 0},
               {'P', 0, I, 3, 0},
               {'P', 0, T, 1, 0, 0},
               {'P', 0, C, 0}});
}

TEST(NavigationModel, PickedRowsAndTheSeparator) {
    CNavigation nav(12);
    Walk(nav, {{'r', 10, I, 10, 7},
               {'r', 2, T, 1, 7, 0},
               {'r', 0, C, 0},
               {'r', 14, I, 14, 11},
               {'r', 1, T, 1, 11, 0},
               {'N', 0, I, 3, 0}});
    // Rows that the list does not have change nothing.
    Walk(nav, {{'r', -1, STAY}, {'r', 15, STAY}});
    EXPECT_EQ(nav.GetRow(), 3);
}

TEST(NavigationModel, ThumbnailsOpenAtTheCurrentItemsPageOnlyFromTheTab) {
    CNavigation nav(20);
    Walk(nav, {{'r', 13 + 3, I, 16, 13},
               {'T', 0, T, 1, 13, 8},
               {'r', 16 + 3, I, 19, 16},
               {'T', 0, T, 1, 16, 16},
               {'r', 7 + 3, I, 10, 7},
               {'T', 0, T, 1, 7, 0},
               {'r', 13 + 3, I, 16, 13},
               {'r', 0, C, 0},
               {'N', 0, T, 1, 13, 0},
               {'N', 0, I, 3, 0},
               {'P', 0, T, 1, 0, 0},
               {'r', 19 + 3, I, 22, 19},
               {'r', 1, T, 1, 19, 0}});
}

TEST(NavigationModel, TabsSetThePreferenceAndSwitchOnlyWhenNeeded) {
    CNavigation nav(5);
    Walk(nav, {{'N', 0, T, 1, 0, 0},
               {'N', 0, I, 3, 0},
               {'D', 0, D, 3, 0},
               {'D', 0, STAY},
               {'N', 0, D, 4, 1}});
    EXPECT_TRUE(nav.PrefersDetails());
    Walk(nav, {{'I', 0, I, 4, 1}, {'I', 0, STAY}});
    EXPECT_FALSE(nav.PrefersDetails());
    EXPECT_EQ(nav.GetShownView(), I);
}

TEST(NavigationModel, AnItemWithoutAPictureShowsItsDetailsAndThePreferenceStays) {
    CNavigation nav(5);
    // Item 2 has no picture: the window reports that it showed its details instead.
    Walk(nav, {{'r', 5, I, 5, 2}, {'-'}, {'N', 0, I, 6, 3}});
    EXPECT_FALSE(nav.PrefersDetails());
    Walk(nav, {{'r', 5, I, 5, 2}, {'-'}});
    EXPECT_EQ(nav.GetShownView(), D);
    // DETAILS is then already shown: only the preference follows.
    Walk(nav, {{'D', 0, STAY}});
    EXPECT_TRUE(nav.PrefersDetails());
}

TEST(NavigationModel, AThumbnailClickOpensItsItemAndMovesThePreference) {
    CNavigation nav(12);
    Walk(nav, {{'N', 0, T, 1, 0, 0}, {'c', 5, I, 8, 5}});
    EXPECT_FALSE(nav.PrefersDetails());
    Walk(nav, {{'T', 0, T, 1, 5, 0}, {'n', 10, D, 13, 10}});
    EXPECT_TRUE(nav.PrefersDetails());
    // A damaged item opens in the preferred view and leaves the preference alone; its
    // neither-view state lets either tab switch.
    Walk(nav, {{'x', 1, D, 4, 1}, {'!'}, {'D', 0, D, 4, 1}});
    EXPECT_TRUE(nav.PrefersDetails());
    Walk(nav, {{'c', 12, STAY}, {'c', -1, STAY}});
    EXPECT_EQ(nav.GetCurrent(), 1);
}

} // namespace
