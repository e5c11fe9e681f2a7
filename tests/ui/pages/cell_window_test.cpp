// The thumbnail cell's placeholder mode, its click notification and cursor, and the pictures
// it must let go of.
#include <cstring>

#include "cell_fixture.h"
#include "tools/writer/StreamWriter.h"

namespace {

const COLORREF ICON = RGB(0, 200, 0);

class CBytes : public CByteSource {
public:
    explicit CBytes(const std::vector<BYTE>& bytes) : m_bytes(bytes) {}
    UINT Read(void* buffer, UINT n) override {
        n = (UINT)std::min<size_t>(n, m_bytes.size() - m_pos);
        if (n > 0)
            memcpy(buffer, m_bytes.data() + m_pos, n);
        m_pos += n;
        return n;
    }
    ULONGLONG GetRemaining() const override { return m_bytes.size() - m_pos; }

private:
    std::vector<BYTE> m_bytes;
    size_t m_pos = 0;
};

class CellWindowTest : public CellFixture {
protected:
    // Placeholder mode with one opaque 32 × 32 image of one colour.
    void ShowIcon(const char* c1, const char* c2, const char* c3) {
        IMAGELIST_DATA data;
        data.cx = data.cy = 32;
        data.nImages = 1;
        data.flags = ILC_COLOR32;
        data.bAlpha = TRUE;
        data.pixels.assign(32 * 32, 0xFF000000u | PixelFromColor(ICON));
        data.imageHasAlpha.assign(1, 1);
        CStreamWriter writer;
        writer.WriteImageList(data);
        CBytes source(writer.GetBytes());
        CImageList list;
        ASSERT_TRUE(list.Read(&source));
        m_cell.SetIconAndCaptions(&list, 4, c1, c2, c3);
        Repaint();
    }
    // Whether any pixel of rows [y0, y1) and columns [x0, x1) is not the background.
    bool Inked(int y0, int y1, int x0 = 0, int x1 = 160) const {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (CellPixel(x, y) != BACKGROUND)
                    return true;
        return false;
    }
};

} // namespace

TEST_F(CellWindowTest, PlaceholderImageAndCaptionsOnFixedRows) {
    ShowIcon("Line one", "A caption far too wide for a cell of this size", "i");
    EXPECT_FALSE(m_cell.m_bHasPicture);
    EXPECT_EQ(CellPixel(64, 64), ICON); // (160/2 − 16, 200/2 − 36)
    EXPECT_EQ(CellPixel(95, 95), ICON);
    EXPECT_EQ(CellPixel(63, 64), BACKGROUND);
    EXPECT_EQ(CellPixel(64, 63), BACKGROUND);
    EXPECT_EQ(CellPixel(96, 95), BACKGROUND);
    for (int row : {100, 120, 140}) {
        EXPECT_TRUE(Inked(row, row + 11)) << row;
        EXPECT_FALSE(Inked(row - 4, row)) << row;
    }
    EXPECT_FALSE(Inked(151, 200));
    // The wide caption is cut by the cell on both sides; the short one sits in the middle.
    EXPECT_TRUE(Inked(120, 131, 0, 2));
    EXPECT_TRUE(Inked(120, 131, 158, 160));
    EXPECT_TRUE(Inked(140, 151, 74, 86));
    EXPECT_FALSE(Inked(140, 151, 0, 74) || Inked(140, 151, 86, 160));
}

TEST_F(CellWindowTest, OnlyAPlainLeftClickOnAClickableCellNotifies) {
    struct Case {
        BOOL clickable;
        UINT keyState;
        size_t notifications;
    } cases[] = {{TRUE, MK_LBUTTON, 1},
                 {TRUE, MK_LBUTTON | MK_SHIFT, 0},
                 {TRUE, MK_LBUTTON | MK_CONTROL, 0},
                 {TRUE, MK_LBUTTON | MK_RBUTTON, 0},
                 {FALSE, MK_LBUTTON, 0}};
    for (const Case& c : cases) {
        m_main.m_notifications.clear();
        m_cell.m_bClickable = c.clickable;
        m_cell.SendMessage(WM_LBUTTONDOWN, c.keyState, MAKELPARAM(20, 30));
        ASSERT_EQ(m_main.m_notifications.size(), c.notifications) << c.keyState;
    }
    m_main.m_notifications.clear();
    m_cell.m_bClickable = TRUE;
    m_backend.QueueClick(CELL_X + 50, CELL_Y + 50);
    AfxPumpUntilIdle();
    ASSERT_EQ(m_main.m_notifications.size(), 1u);
    EXPECT_EQ(m_main.m_notifications[0].hwndFrom, m_cell.m_hWnd);
    EXPECT_EQ(m_main.m_notifications[0].idFrom, 158u);
    EXPECT_EQ(m_main.m_notifications[0].code, (UINT)NM_CLICK);
}

TEST_F(CellWindowTest, HandCursorOnlyOverAClickableCell) {
    for (BOOL clickable : {FALSE, TRUE, FALSE}) {
        m_cell.m_bClickable = clickable;
        m_backend.QueueMove(5, 5);
        m_backend.QueueMove(CELL_X + 40, CELL_Y + 40);
        AfxPumpUntilIdle();
        const BackendImage* cursor = m_backend.GetCursor();
        EXPECT_EQ(cursor != nullptr && cursor->hotX == 6 && cursor->hotY == 0, (bool)clickable);
    }
}

TEST_F(CellWindowTest, NullPictureKeepsTheModeAndAClearedPictureIsNeverDrawn) {
    CItemPicture* pPicture = new CItemPicture;
    MakePicture(*pPicture, 40, 40, PICTURE);
    m_cell.SetPicture(pPicture, 3);
    m_cell.SetPicture(nullptr, 5);
    Repaint();
    EXPECT_EQ(m_cell.m_nItemIndex, 5);
    EXPECT_EQ(CellPixel(80, 100), PICTURE);
    // What an owner does before it releases the record; a repaint meanwhile (a message box
    // while the next item loads) shows the background only.
    m_cell.ClearPicture();
    delete pPicture;
    Repaint();
    EXPECT_EQ(CellPixel(80, 100), BACKGROUND);

    ShowIcon("a", "b", "c");
    m_cell.SetPicture(nullptr, 7);
    Repaint();
    EXPECT_FALSE(m_cell.m_bHasPicture);
    EXPECT_EQ(CellPixel(64, 64), ICON);
}
