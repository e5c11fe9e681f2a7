// The item list's rows: measured through the real combo, drawn on a memory context whose
// pixels are read back.
#include <gtest/gtest.h>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/gdi/DC.h"
#include "framework/window/ClientDC.h"
#include "framework/window/Dialog.h"
#include "framework/window/MessageLoop.h"
#include "pages/ListCombo.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

namespace {

const COLORREF PAPER = RGB(12, 34, 56); // the context's pixels before a row is drawn
const COLORREF BACK = RGB(240, 240, 200);
const COLORREF INK = RGB(0, 0, 128);
const int W = 120, H = 16;

class ComboRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetBackend(&m_backend);
        RegisterProgramResources();
        ASSERT_TRUE(m_main.Create(IDD_VIEWER, nullptr));
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST |
                                       CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS,
                                   CRect(215, 560, 450, 710), &m_main, 400));
        for (const char* text : {"Comments", "Thumbnails", "-",
                                 "An item whose name is far "
                                 "wider than the list itself"})
            m_combo.AddString(text);
        CClientDC screen(&m_main);
        ASSERT_TRUE(m_dc.CreateCompatibleDC(&screen));
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&screen, W + 20, H));
        m_dc.SelectObject(&m_bitmap);
    }
    void TearDown() override {
        m_main.DestroyWindow();
        AfxSetBackend(nullptr);
    }
    // Row nRow drawn into (0, 0, width, H) of a context that holds PAPER.
    std::vector<COLORREF> DrawRow(int nRow, UINT itemState, int width = W) {
        m_dc.FillSolidRect(0, 0, W + 20, H, PAPER);
        m_dc.SetBkColor(BACK);
        m_dc.SetTextColor(INK);
        DRAWITEMSTRUCT dis = {ODT_COMBOBOX,
                              400,
                              (UINT)nRow,
                              ODA_DRAWENTIRE,
                              itemState,
                              m_combo.m_hWnd,
                              m_dc.m_hDC,
                              CRect(0, 0, width, H),
                              0};
        m_combo.DrawItem(&dis);
        EXPECT_EQ(m_dc.GetTextColor(), INK);
        EXPECT_EQ(m_dc.GetBkColor(), BACK);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W + 20; ++x)
                pixels.push_back(m_dc.GetPixel(x, y));
        return pixels;
    }

    CHeadlessBackend m_backend{800, 600};
    CDialog m_main;
    CListCombo m_combo;
    CDC m_dc;
    CBitmap m_bitmap;
};

COLORREF At(const std::vector<COLORREF>& pixels, int x, int y) {
    return pixels[y * (W + 20) + x];
}

} // namespace

TEST_F(ComboRowsTest, EveryRowAndTheFieldTakeTheHeightOfWPlusThree) {
    CClientDC dc(&m_combo);
    const int expected = dc.GetTextExtent("W", 1).cy + 3;
    EXPECT_GT(expected, 3);
    for (int i = -1; i < m_combo.GetCount(); ++i)
        EXPECT_EQ(m_combo.GetItemHeight(i), expected) << i;
}

TEST_F(ComboRowsTest, SeparatorRowIsOnlyALineAcrossTheMiddleEvenWhenSelected) {
    for (UINT state : {0u, (UINT)ODS_SELECTED}) {
        const std::vector<COLORREF> pixels = DrawRow(CListCombo::SEPARATOR_ROW, state);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W + 20; ++x)
                ASSERT_EQ(At(pixels, x, y), y == H / 2 && x < W ? RGB(0, 0, 0) : PAPER)
                    << state << " at " << x << "," << y;
    }
}

TEST_F(ComboRowsTest, FillAndTextColoursFollowTheSelection) {
    const struct {
        UINT state;
        COLORREF fill, text;
    } cases[] = {{0, BACK, INK},
                 {ODS_SELECTED, GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT)}};
    for (const auto& c : cases) {
        const std::vector<COLORREF> pixels = DrawRow(0, c.state);
        EXPECT_EQ(At(pixels, W - 1, 0), c.fill);
        EXPECT_EQ(At(pixels, W - 1, H - 1), c.fill);
        EXPECT_EQ(At(pixels, W, 0), PAPER);
        EXPECT_NE(std::count(pixels.begin(), pixels.end(), c.text), 0);
    }
}

TEST_F(ComboRowsTest, LongTextIsCutAtTheRightEdgeWithoutEllipsis) {
    std::vector<COLORREF> wide = DrawRow(3, 0, W + 20), cut = DrawRow(3, 0, W);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(At(cut, x, y), At(wide, x, y)) << x << "," << y;
        for (int x = W; x < W + 20; ++x)
            ASSERT_EQ(At(cut, x, y), PAPER);
    }
}
