#include <gtest/gtest.h>

#include <vector>

#include "ControlsFixture.h"
#include "controls/XWebButton.h"
#include "framework/gdi/GdiObject.h"

namespace {

const COLORREF FACE = RGB(49, 49, 49);
const COLORREF TEXT = RGB(255, 255, 255);
const COLORREF FRAME = RGB(67, 67, 67);
const COLORREF HOST = RGB(0, 0, 0);
const UINT ID_BUTTON = 300;

class XWebButtonTest : public ControlsTest {
protected:
    // A button dressed as the main window dresses its buttons, at screen rectangle rc.
    XWebButton& AddButton(const char* lpszCaption, const CRect& rc) {
        m_buttons.emplace_back(new XWebButton);
        XWebButton& button = *m_buttons.back();
        EXPECT_TRUE(button.Create(&m_host, ID_BUTTON, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0)));
        button.SetWindowText(lpszCaption);
        button.SetBackColor(FACE);
        button.SetTextColor(TEXT);
        button.SetFrameColor(FRAME);
        button.MoveWindow(rc.left, rc.top, rc.Width(), rc.Height());
        Pump();
        return button;
    }

    std::vector<COLORREF> Pixels(const CRect& rc) const {
        std::vector<COLORREF> pixels;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                pixels.push_back(Pixel(x, y));
        return pixels;
    }

    void TearDown() override {
        m_buttons.clear();
        ControlsTest::TearDown();
    }

    std::vector<std::unique_ptr<XWebButton>> m_buttons;
};

CRect Face(const CRect& rc) {
    CRect rcFace = rc;
    rcFace.DeflateRect(1, 1);
    return rcFace;
}

TEST_F(XWebButtonTest, DrawsFrameFaceAndCentredCaption) {
    const CRect rc(20, 20, 140, 50);
    AddButton("NEXT", rc);

    for (int x = rc.left; x < rc.right; ++x) {
        EXPECT_EQ(FRAME, Pixel(x, rc.top)) << x;
        EXPECT_EQ(FRAME, Pixel(x, rc.bottom - 1)) << x;
    }
    for (int y = rc.top; y < rc.bottom; ++y) {
        EXPECT_EQ(FRAME, Pixel(rc.left, y)) << y;
        EXPECT_EQ(FRAME, Pixel(rc.right - 1, y)) << y;
    }
    const CRect rcFace = Face(rc);
    const CRect rcInk = InkBounds(rcFace, FACE);
    ASSERT_FALSE(rcInk.IsRectEmpty());
    EXPECT_LE(std::abs((rcInk.left - rcFace.left) - (rcFace.right - rcInk.right)), 2);
    EXPECT_LE(std::abs((rcInk.top - rcFace.top) - (rcFace.bottom - rcInk.bottom)), 3);
    // The caption is one line in the text colour on a face of one colour.
    EXPECT_LT(rcInk.Height(), 16);
    EXPECT_GT(CountOther(rcInk, TEXT), 0);
    EXPECT_LT(CountOther(rcInk, TEXT), rcInk.Width() * rcInk.Height());
    EXPECT_EQ(0, CountOther(CRect(rc.right, rc.top, rc.right + 10, rc.bottom), HOST));
}

TEST_F(XWebButtonTest, ButtonsTwoPixelsOrLessShowOnlyTheirFrame) {
    const CRect cases[] = {CRect(10, 10, 12, 40), CRect(30, 10, 90, 12), CRect(100, 10, 101, 11),
                           CRect(120, 10, 122, 12)};
    for (const CRect& rc : cases)
        AddButton("NEXT", rc);
    for (const CRect& rc : cases) {
        EXPECT_EQ(0, CountOther(rc, FRAME)) << rc.left;
        EXPECT_EQ(0, CountOther(CRect(rc.left, rc.bottom, rc.right, rc.bottom + 3), HOST));
    }
}

TEST_F(XWebButtonTest, WideCaptionIsCentredAndClippedOnBothSides) {
    const CRect rc(20, 20, 70, 44);
    AddButton("WWWWWWWWWWWWWWWWWWWW", rc);
    const CRect rcFace = Face(rc);
    const CRect rcInk = InkBounds(rcFace, FACE);
    EXPECT_EQ(rcFace.left, rcInk.left);
    EXPECT_EQ(rcFace.right, rcInk.right);
    EXPECT_LT(rcInk.Height(), 16) << "a caption never wraps";
    for (int y = rc.top; y < rc.bottom; ++y) {
        EXPECT_EQ(FRAME, Pixel(rc.left, y));
        EXPECT_EQ(FRAME, Pixel(rc.right - 1, y));
        EXPECT_EQ(HOST, Pixel(rc.left - 1, y));
        EXPECT_EQ(HOST, Pixel(rc.right, y));
    }
}

TEST_F(XWebButtonTest, AmpersandMarksTheMnemonic) {
    const CRect rcPlain(10, 10, 110, 40), rcMnemonic(10, 50, 110, 80);
    const CRect rcSingle(10, 90, 110, 120), rcDouble(10, 130, 110, 160), rcQuad(10, 170, 110, 200);
    AddButton("NEXT", rcPlain);
    AddButton("&NEXT", rcMnemonic);
    AddButton("A&B", rcSingle);
    AddButton("A&&B", rcDouble);
    AddButton("A&&&&B", rcQuad);

    const CRect inkPlain = InkBounds(Face(rcPlain), FACE);
    // The letters' rows, above the underline: the "&" takes no room (centring may round the
    // other way), and the underline below adds ink.
    CRect rcLetters = inkPlain;
    rcLetters.OffsetRect(0, rcMnemonic.top - rcPlain.top);
    rcLetters.left = rcMnemonic.left + 1;
    rcLetters.right = rcMnemonic.right - 1;
    const CRect inkMnemonic = InkBounds(rcLetters, FACE);
    EXPECT_EQ(inkPlain.Width(), inkMnemonic.Width());
    EXPECT_LE(std::abs(inkPlain.left - inkMnemonic.left), 1);
    EXPECT_GT(CountOther(Face(rcMnemonic), FACE), CountOther(Face(rcPlain), FACE));
    EXPECT_GE(inkMnemonic.bottom - rcMnemonic.top, inkPlain.bottom - rcPlain.top);

    // "&&" shows one "&": wider than no "&", narrower than two.
    const int nSingle = InkBounds(Face(rcSingle), FACE).Width();
    const int nDouble = InkBounds(Face(rcDouble), FACE).Width();
    const int nQuad = InkBounds(Face(rcQuad), FACE).Width();
    EXPECT_GT(nDouble, nSingle + 3);
    EXPECT_GT(nQuad, nDouble + 3);
}

TEST_F(XWebButtonTest, DisabledAndPressedButtonsLookNormal) {
    const CRect rc(20, 20, 140, 50);
    XWebButton& button = AddButton("EXIT", rc);
    const std::vector<COLORREF> normal = Pixels(rc);

    button.EnableWindow(FALSE);
    button.Invalidate();
    Pump();
    EXPECT_EQ(normal, Pixels(rc)) << "disabled";

    button.EnableWindow(TRUE);
    m_pBackend->QueueButtonDown(60, 30);
    Pump();
    EXPECT_EQ(normal, Pixels(rc)) << "pressed";
    m_pBackend->QueueButtonUp(60, 30);
    Pump();
}

TEST_F(XWebButtonTest, NewColoursShowOnlyAtTheNextPaint) {
    const CRect rc(20, 20, 140, 50);
    XWebButton& button = AddButton("", rc);
    button.SetBackColor(RGB(200, 0, 0));
    button.SetFrameColor(RGB(0, 200, 0));
    Pump();
    EXPECT_EQ(FACE, Pixel(60, 30));
    EXPECT_EQ(FRAME, Pixel(rc.left, rc.top));

    button.Invalidate();
    Pump();
    EXPECT_EQ(RGB(200, 0, 0), Pixel(60, 30));
    EXPECT_EQ(RGB(0, 200, 0), Pixel(rc.left, rc.top));
}

TEST_F(XWebButtonTest, HandCursorOverTheWholeButton) {
    const CRect rc(20, 20, 140, 50);
    AddButton("NEXT", rc);
    const CPoint points[] = {CPoint(rc.left, rc.top), CPoint(60, 35),
                             CPoint(rc.right - 1, rc.bottom - 1)};
    for (const CPoint& pt : points) {
        m_pBackend->QueueMove(5, 5);
        m_pBackend->QueueMove(pt.x, pt.y);
        Pump();
        const BackendImage* pCursor = m_pBackend->GetCursor();
        ASSERT_NE(nullptr, pCursor) << pt.x << "," << pt.y;
        EXPECT_EQ(32, pCursor->width);
        EXPECT_EQ(32, pCursor->height);
        EXPECT_EQ(6, pCursor->hotX);
        EXPECT_EQ(0, pCursor->hotY);
    }
}

TEST_F(XWebButtonTest, CreateMakesAnOwnerDrawnButtonWithTheSemiBoldIconTitleFont) {
    XWebButton button;
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
    ASSERT_TRUE(button.Create(&m_host, 77, dwStyle, CRect(1, 2, 30, 40)));
    EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW),
              button.GetStyle() & 0xFFFF000F);
    EXPECT_EQ(77, button.GetDlgCtrlID());
    EXPECT_EQ(0, button.GetWindowTextLength());

    LOGFONT lfSystem = {}, lfButton = {};
    SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lfSystem, 0);
    ASSERT_NE(nullptr, button.GetFont());
    button.GetFont()->GetLogFont(&lfButton);
    EXPECT_EQ(600, lfButton.lfWeight);
    EXPECT_EQ(lfSystem.lfHeight, lfButton.lfHeight);
    EXPECT_STREQ(lfSystem.lfFaceName, lfButton.lfFaceName);
}

} // namespace
