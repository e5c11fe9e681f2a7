#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "ControlsFixture.h"
#include "controls/XScrollPanel.h"
#include "controls/XWrappingStatic.h"
#include "framework/window/Button.h"

namespace {

const UINT ID_PANEL = 400;
const COLORREF PANEL = RGB(51, 51, 51);
// The panel's client height while no horizontal bar shows.
const int PANEL_HEIGHT = 100;
const int PANEL_WIDTH = 150;
const CRect PANEL_RECT(20, 30, 20 + PANEL_WIDTH, 30 + PANEL_HEIGHT);

// A panel that logs the commands and notifications it processes itself.
class CRecordingPanel : public XScrollPanel {
public:
    CMessageLog* m_pLog = nullptr;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        RecordMessage(m_pLog, "panel", WM_COMMAND, wParam, lParam);
        return XScrollPanel::OnCommand(wParam, lParam);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        RecordMessage(m_pLog, "panel", WM_NOTIFY, wParam, lParam);
        return XScrollPanel::OnNotify(wParam, lParam, pResult);
    }
};

class XScrollPanelTest : public ControlsTest {
protected:
    void MakePanel(DWORD dwStyle) {
        ASSERT_TRUE(m_panel.Create(&m_host, dwStyle, ID_PANEL));
        m_panel.m_pLog = &m_log;
        m_panel.MoveWindow(PANEL_RECT.left, PANEL_RECT.top, PANEL_RECT.Width(),
                           PANEL_RECT.Height());
        m_panel.SetBackColor(PANEL);
        Pump();
    }
    int VScroll(UINT nCode, UINT nPos = 0) {
        m_panel.SendMessage(WM_VSCROLL, MAKEWPARAM(nCode, nPos), 0);
        return m_panel.GetScrollPos(SB_VERT);
    }
    void TearDown() override {
        if (::IsWindow(m_panel.GetSafeHwnd()))
            m_panel.DestroyWindow();
        ControlsTest::TearDown();
    }

    CRecordingPanel m_panel;
};

TEST_F(XScrollPanelTest, StepsAreATenthAndAHundredthOfTheContent) {
    MakePanel(WS_VSCROLL);
    const struct {
        int nContent, nPage, nLine;
    } cases[] = {
        {150, 15, 1}, {120, 12, 1}, {99 + PANEL_HEIGHT, 19, 1}, {1000, 100, 10}, {2345, 234, 23}};
    for (const auto& c : cases) {
        m_panel.SetContentSize(0, c.nContent);
        ASSERT_EQ(0, m_panel.GetScrollPos(SB_VERT)) << c.nContent;
        EXPECT_EQ(c.nLine, VScroll(SB_LINEDOWN)) << c.nContent;
        EXPECT_EQ(c.nLine + c.nPage, VScroll(SB_PAGEDOWN)) << c.nContent;
        EXPECT_EQ(c.nPage, VScroll(SB_LINEUP)) << c.nContent;
        EXPECT_EQ(0, VScroll(SB_PAGEUP)) << c.nContent;
        EXPECT_EQ(0, VScroll(SB_LINEUP)) << "never below 0: " << c.nContent;
        VScroll(SB_TOP);
    }
}

TEST_F(XScrollPanelTest, TallContentShowsTheBarWithItsPageAndRange) {
    MakePanel(WS_VSCROLL);
    const int contents[] = {PANEL_HEIGHT + 1, 150, 460, 5000};
    for (int nContent : contents) {
        m_panel.SetContentSize(0, nContent);
        Pump();
        ASSERT_TRUE(m_panel.GetStyle() & WS_VSCROLL) << nContent;
        EXPECT_FALSE(m_panel.GetStyle() & WS_HSCROLL) << nContent;
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(m_panel.GetScrollInfo(SB_VERT, &info, SIF_ALL));
        EXPECT_EQ(0, info.nMin);
        EXPECT_EQ(nContent - 1, info.nMax);
        EXPECT_EQ((UINT)PANEL_HEIGHT, info.nPage);
        CRect rcClient;
        m_panel.GetClientRect(rcClient);
        EXPECT_EQ(PANEL_WIDTH - 14, rcClient.Width());

        const int nLimit = nContent - PANEL_HEIGHT;
        EXPECT_EQ(nLimit, VScroll(SB_BOTTOM)) << nContent;
        EXPECT_EQ(nLimit, VScroll(SB_PAGEDOWN)) << "never above the limit";
        EXPECT_EQ(0, VScroll(SB_TOP));
        // Ten page steps reach the end whatever the height.
        for (int i = 0; i < 10; ++i)
            VScroll(SB_PAGEDOWN);
        EXPECT_EQ(nLimit, m_panel.GetScrollPos(SB_VERT)) << nContent;
        VScroll(SB_TOP);
    }
}

TEST_F(XScrollPanelTest, HugeContentNeverWrapsRoundToTheTop) {
    MakePanel(WS_VSCROLL);
    // The second is a height that a mapping mode with an upward axis could give: its size is
    // taken as the largest there is.
    const struct {
        int nContent;
        int nLimit;
    } cases[] = {{2000000000, 2000000000 - PANEL_HEIGHT}, {INT_MIN, INT_MAX - PANEL_HEIGHT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nContent);
        m_panel.SetContentSize(0, c.nContent);
        Pump();
        ASSERT_TRUE(m_panel.GetStyle() & WS_VSCROLL);
        EXPECT_EQ(c.nLimit, VScroll(SB_BOTTOM));
        EXPECT_EQ(c.nLimit, VScroll(SB_PAGEDOWN));
        EXPECT_EQ(c.nLimit, VScroll(SB_LINEDOWN));
        EXPECT_LT(VScroll(SB_PAGEUP), c.nLimit);
        EXPECT_EQ(0, VScroll(SB_TOP));
        EXPECT_EQ(0, VScroll(SB_PAGEUP));
    }
}

TEST_F(XScrollPanelTest, EachBarTakesItsRoomFromTheOtherBarsPage) {
    MakePanel(WS_VSCROLL);
    const struct {
        int cx, cy;
        BOOL bHorz, bVert;
        UINT nPageH, nPageV;
    } cases[] = {
        {300, 300, TRUE, TRUE, PANEL_WIDTH - 14, PANEL_HEIGHT - 14},
        // Fits beside no bar, but not beside the vertical one.
        {PANEL_WIDTH - 10, 300, TRUE, TRUE, PANEL_WIDTH - 14, PANEL_HEIGHT - 14},
        {PANEL_WIDTH - 14, 300, FALSE, TRUE, 0, PANEL_HEIGHT},
        {300, PANEL_HEIGHT - 14, TRUE, FALSE, PANEL_WIDTH, 0},
        {300, PANEL_HEIGHT - 10, TRUE, TRUE, PANEL_WIDTH - 14, PANEL_HEIGHT - 14},
    };
    for (const auto& c : cases) {
        m_panel.SetContentSize(c.cx, c.cy);
        const DWORD dwStyle = m_panel.GetStyle();
        EXPECT_EQ(c.bHorz, (dwStyle & WS_HSCROLL) != 0) << c.cx << "x" << c.cy;
        EXPECT_EQ(c.bVert, (dwStyle & WS_VSCROLL) != 0) << c.cx << "x" << c.cy;
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        if (c.bHorz && m_panel.GetScrollInfo(SB_HORZ, &info, SIF_ALL)) {
            EXPECT_EQ(c.nPageH, info.nPage) << c.cx << "x" << c.cy;
            EXPECT_EQ(c.cx - 1, info.nMax);
        }
        if (c.bVert && m_panel.GetScrollInfo(SB_VERT, &info, SIF_ALL)) {
            EXPECT_EQ(c.nPageV, info.nPage) << c.cx << "x" << c.cy;
            EXPECT_EQ(c.cy - 1, info.nMax);
        }
    }
}

TEST_F(XScrollPanelTest, ContentThatFitsHidesTheBarAndReturnsToTheTop) {
    MakePanel(WS_VSCROLL);
    m_panel.SetContentSize(0, 400);
    EXPECT_EQ(300, VScroll(SB_BOTTOM));
    const int fitting[] = {PANEL_HEIGHT, 99, 0};
    for (int nContent : fitting) {
        m_panel.SetContentSize(0, nContent);
        Pump();
        EXPECT_FALSE(m_panel.GetStyle() & WS_VSCROLL) << nContent;
        EXPECT_EQ(0, m_panel.GetScrollPos(SB_VERT)) << nContent;
        CRect rcClient;
        m_panel.GetClientRect(rcClient);
        EXPECT_EQ(PANEL_WIDTH, rcClient.Width());
        EXPECT_EQ(0, VScroll(SB_BOTTOM)) << nContent;
    }
}

TEST_F(XScrollPanelTest, ContentUnderAHundredPixelsHasNoLineStep) {
    MakePanel(WS_VSCROLL);
    m_panel.MoveWindow(PANEL_RECT.left, PANEL_RECT.top, PANEL_WIDTH, 40);
    m_panel.SetContentSize(0, 95);
    ASSERT_TRUE(m_panel.GetStyle() & WS_VSCROLL);
    EXPECT_EQ(0, VScroll(SB_LINEDOWN));
    EXPECT_EQ(9, VScroll(SB_PAGEDOWN));
    EXPECT_EQ(9, VScroll(SB_LINEUP));
}

TEST_F(XScrollPanelTest, WithoutTheVerticalStyleOnlyAShownBarScrolls) {
    MakePanel(0);
    m_panel.SetContentSize(0, 50);
    const UINT codes[] = {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM, SB_THUMBTRACK};
    for (UINT nCode : codes) {
        EXPECT_EQ(0, VScroll(nCode, 30)) << nCode;
        EXPECT_FALSE(m_panel.ScrollByCode(0xFF | (nCode << 8), 30)) << nCode;
    }
    // Tall content shows the bar, which gives the panel the style and the scrolling.
    m_panel.SetContentSize(0, 500);
    EXPECT_TRUE(m_panel.GetStyle() & WS_VSCROLL);
    EXPECT_EQ(5, VScroll(SB_LINEDOWN));
}

TEST_F(XScrollPanelTest, ThumbTrackingMovesAndTheFinalThumbPositionDoesNot) {
    MakePanel(WS_VSCROLL);
    m_panel.SetContentSize(0, 500);
    EXPECT_EQ(120, VScroll(SB_THUMBTRACK, 120));
    EXPECT_EQ(120, VScroll(SB_THUMBPOSITION, 40));
    EXPECT_EQ(120, VScroll(SB_ENDSCROLL, 40));
    EXPECT_EQ(400, VScroll(SB_THUMBTRACK, 450)) << "clamped to the limit";
}

TEST_F(XScrollPanelTest, DraggingTheThumbScrollsTheChildren) {
    MakePanel(WS_VSCROLL);
    XWrappingStatic field;
    ASSERT_TRUE(field.Create(&m_panel, FALSE));
    field.MoveWindow(0, 0, 100, 40);
    m_panel.SetContentSize(0, 1000);
    Pump();

    // The thumb of a bar at position 0 sits just below the top arrow.
    const int xBar = PANEL_RECT.right - 7;
    const int yThumb = PANEL_RECT.top + 14 + 3;
    m_pBackend->QueueButtonDown(xBar, yThumb);
    m_pBackend->QueueMove(xBar, yThumb + 20);
    Pump();
    const int nDuringDrag = m_panel.GetScrollPos(SB_VERT);
    EXPECT_GT(nDuringDrag, 0) << "follows the thumb while it is dragged";
    m_pBackend->QueueButtonUp(xBar, yThumb + 20);
    Pump();
    EXPECT_EQ(nDuringDrag, m_panel.GetScrollPos(SB_VERT));

    CRect rcField;
    field.GetWindowRect(rcField);
    EXPECT_EQ(PANEL_RECT.top - nDuringDrag, rcField.top);
    m_panel.ScrollToPosition(CPoint(0, 0));
    field.GetWindowRect(rcField);
    EXPECT_EQ(PANEL_RECT.top, rcField.top);
}

TEST_F(XScrollPanelTest, PaintsTheMenuColourUntilGivenItsOwn) {
    XScrollPanel plain;
    ASSERT_TRUE(plain.Create(&m_host, 0, 5));
    plain.MoveWindow(200, 10, 50, 50);
    Pump();
    EXPECT_EQ(0, CountOther(CRect(200, 10, 250, 60), GetSysColor(COLOR_MENU)));
    EXPECT_TRUE(plain.GetStyle() & WS_CHILD);
    EXPECT_TRUE(plain.GetStyle() & WS_VISIBLE);

    MakePanel(0);
    EXPECT_EQ(0, CountOther(PANEL_RECT, PANEL));
    m_panel.SetBackColor(RGB(10, 20, 30));
    Pump();
    EXPECT_EQ(PANEL, Pixel(PANEL_RECT.left + 5, PANEL_RECT.top + 5)) << "no repaint";
    m_panel.Invalidate();
    Pump();
    EXPECT_EQ(0, CountOther(PANEL_RECT, RGB(10, 20, 30)));
}

TEST_F(XScrollPanelTest, RightClickOnThePanelItselfNotifiesTheParent) {
    MakePanel(WS_VSCROLL);
    m_pBackend->QueueClick(PANEL_RECT.left + 10, PANEL_RECT.top + 10, 3);
    Pump();
    ASSERT_EQ(1u, m_log.size());
    EXPECT_EQ("host", m_log[0].strWho);
    EXPECT_EQ((UINT)WM_NOTIFY, m_log[0].message);
    EXPECT_EQ(ID_PANEL, m_log[0].wParam);
    EXPECT_EQ(m_panel.GetSafeHwnd(), m_log[0].nmhdr.hwndFrom);
    EXPECT_EQ(ID_PANEL, m_log[0].nmhdr.idFrom);
    EXPECT_EQ(NM_RCLICK, m_log[0].nmhdr.code);
}

TEST_F(XScrollPanelTest, RightClickOnAFieldReachesTheParentThroughThePanel) {
    MakePanel(WS_VSCROLL);
    XWrappingStatic field;
    ASSERT_TRUE(field.Create(&m_panel, FALSE));
    field.MoveWindow(0, 0, 100, 40);
    m_panel.SetContentSize(0, 40);
    Pump();
    m_pBackend->QueueClick(PANEL_RECT.left + 10, PANEL_RECT.top + 10, 3);
    Pump();
    ASSERT_EQ(2u, m_log.size());
    EXPECT_EQ("panel", m_log[0].strWho);
    EXPECT_EQ("host", m_log[1].strWho);
    for (const CRecordedMessage& record : m_log) {
        EXPECT_EQ((UINT)WM_NOTIFY, record.message);
        EXPECT_EQ(field.GetSafeHwnd(), record.nmhdr.hwndFrom);
        EXPECT_EQ(0u, record.nmhdr.idFrom);
        EXPECT_EQ(NM_RCLICK, record.nmhdr.code);
    }
}

TEST_F(XScrollPanelTest, ChildCommandsReachThePanelThenItsParent) {
    MakePanel(WS_VSCROLL);
    CButton button;
    ASSERT_TRUE(button.Create("OK", WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 20), &m_panel, 501));
    Pump();
    m_pBackend->QueueClick(PANEL_RECT.left + 10, PANEL_RECT.top + 10);
    Pump();
    ASSERT_EQ(2u, m_log.size());
    EXPECT_EQ("panel", m_log[0].strWho);
    EXPECT_EQ("host", m_log[1].strWho);
    for (const CRecordedMessage& record : m_log) {
        EXPECT_EQ((UINT)WM_COMMAND, record.message);
        EXPECT_EQ(MAKEWPARAM(501, BN_CLICKED), record.wParam);
        EXPECT_EQ((LPARAM)button.GetSafeHwnd(), record.lParam);
    }
}

} // namespace

TEST_F(XScrollPanelTest, DraggingTheThumbReachesPositionsPast65535) {
    MakePanel(WS_VSCROLL);
    const int nContent = 200000;
    m_panel.SetContentSize(0, nContent);
    Pump();
    const int nLimit = m_panel.GetScrollLimit(SB_VERT);
    ASSERT_EQ(nContent - PANEL_HEIGHT, nLimit);

    const int xBar = PANEL_RECT.right - 7;
    const int yThumb = PANEL_RECT.top + 14 + 3;
    // Halfway down the track: the position a 16-bit message would cut to its low bits.
    const int yMiddle = PANEL_RECT.top + PANEL_HEIGHT / 2;
    m_pBackend->QueueButtonDown(xBar, yThumb);
    m_pBackend->QueueMove(xBar, yMiddle);
    Pump();
    const int nMiddle = m_panel.GetScrollPos(SB_VERT);
    EXPECT_GT(nMiddle, 65535);
    EXPECT_NEAR(nMiddle, nLimit / 2, nLimit / 5);
    // Past the end of the track: the end of the content.
    m_pBackend->QueueMove(xBar, PANEL_RECT.bottom + 40);
    Pump();
    EXPECT_EQ(nLimit, m_panel.GetScrollPos(SB_VERT));
    m_pBackend->QueueButtonUp(xBar, PANEL_RECT.bottom + 40);
    Pump();
    EXPECT_EQ(nLimit, m_panel.GetScrollPos(SB_VERT)) << "the final thumb position leaves it there";
}

namespace {

TEST_F(XScrollPanelTest, TheWheelOverAFieldScrollsThreeLinesANotch) {
    MakePanel(WS_VSCROLL);
    XWrappingStatic field;
    ASSERT_TRUE(field.Create(&m_panel, FALSE));
    field.MoveWindow(0, 0, 100, 40);
    m_panel.SetContentSize(0, 1000); // lines of 10
    Pump();
    const struct {
        int nNotches, nPos;
    } turns[] = {{-1, 30}, {-2, 90}, {1, 60}, {5, 0}, {-100, 900}};
    for (const auto& t : turns) {
        m_pBackend->QueueWheel(PANEL_RECT.left + 10, PANEL_RECT.top + 10, t.nNotches);
        Pump();
        EXPECT_EQ(t.nPos, m_panel.GetScrollPos(SB_VERT)) << t.nNotches;
    }
    // The scrolled field moved with the content.
    CRect rc;
    field.GetWindowRect(&rc);
    m_panel.ScreenToClient(&rc);
    EXPECT_EQ(-900, rc.top);
}

} // namespace
