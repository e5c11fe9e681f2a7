// Window scroll bars: limits, showing and hiding with the client area, and the messages that
// arrows, page areas and the thumb send.
#include "WindowTestEnv.h"

#include "framework/window/ScrollBarLayout.h"

namespace {
struct Scroll {
    UINT message;
    UINT code;
    UINT pos;
};

class CScrolled : public CColourWnd {
public:
    std::vector<Scroll> m_scrolls;
    std::vector<CSize> m_sizes;

protected:
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pBar) override {
        EXPECT_EQ(pBar, nullptr);
        m_scrolls.push_back({WM_VSCROLL, nSBCode, nPos});
        if (nSBCode == SB_THUMBTRACK)
            SetScrollPos(SB_VERT, (int)nPos);
    }
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) override {
        m_scrolls.push_back({WM_HSCROLL, nSBCode, nPos});
    }
    void OnSize(UINT, int cx, int cy) override { m_sizes.push_back(CSize(cx, cy)); }
};

SCROLLINFO Info(int nMin, int nMax, UINT nPage, int nPos = 0) {
    return SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, nMin, nMax, nPage, nPos, 0};
}
} // namespace

TEST(ScrollBarLayoutTest, LimitIsMaxLessPagePlusOneNeverBelowMin) {
    struct Case {
        SCROLLINFO si;
        int limit;
        bool scrollable;
    } cases[] = {
        {Info(0, 299, 100), 200, true}, {Info(0, 299, 0), 299, true}, // no page: the maximum itself
        {Info(0, 99, 100), 0, false},                                 // the page covers the range
        {Info(0, 50, 500), 0, false},                                 // never below min
        {Info(10, 20, 5), 16, true},    {Info(0, 0, 0), 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CScrollBarLayout::Limit(c.si), c.limit) << c.si.nMax << "/" << c.si.nPage;
        EXPECT_EQ(CScrollBarLayout::IsScrollable(c.si), c.scrollable)
            << c.si.nMax << "/" << c.si.nPage;
    }
}

TEST(ScrollBarLayoutTest, ThumbFollowsPageAndPositionBothWays) {
    CRect bar(0, 0, 14, 214); // track of 186 between two 14-pixel arrows
    CScrollBarLayout top(bar, true, Info(0, 299, 100, 0), 0);
    ASSERT_TRUE(top.HasThumb());
    EXPECT_EQ(top.PartRect(CScrollBarLayout::PART_THUMB), CRect(0, 14, 14, 14 + 62));
    EXPECT_EQ(top.HitTest(CPoint(5, 3)), CScrollBarLayout::PART_ARROW_FIRST);
    EXPECT_EQ(top.HitTest(CPoint(5, 210)), CScrollBarLayout::PART_ARROW_LAST);
    EXPECT_EQ(top.HitTest(CPoint(5, 30)), CScrollBarLayout::PART_THUMB);
    EXPECT_EQ(top.HitTest(CPoint(5, 150)), CScrollBarLayout::PART_PAGE_LAST);
    CScrollBarLayout end(bar, true, Info(0, 299, 100, 200), 200);
    EXPECT_EQ(end.PartRect(CScrollBarLayout::PART_THUMB).bottom, 200);
    EXPECT_EQ(end.HitTest(CPoint(5, 20)), CScrollBarLayout::PART_PAGE_FIRST);
    // A dragged thumb stays where the mouse put it: more positions than pixels...
    for (int start = 14; start <= 14 + 124; ++start) {
        int pos = top.PosFromThumbStart(start);
        EXPECT_EQ(CScrollBarLayout(bar, true, Info(0, 299, 100, pos), pos).ThumbStart(), start);
    }
    // ...and with fewer positions than pixels every position has its place.
    for (int pos = 0; pos <= 20; ++pos) {
        CScrollBarLayout at(bar, true, Info(0, 29, 10, pos), pos);
        EXPECT_EQ(at.PosFromThumbStart(at.ThumbStart()), pos);
    }
    // Tiny thumbs keep a usable length; bars too short hold only arrows.
    CScrollBarLayout tiny(bar, true, Info(0, 100000, 10), 0);
    EXPECT_EQ(tiny.PartRect(CScrollBarLayout::PART_THUMB).Height(), CScrollBarLayout::MIN_THUMB);
    CScrollBarLayout shortBar(CRect(0, 0, 14, 20), true, Info(0, 299, 100), 0);
    EXPECT_FALSE(shortBar.HasThumb());
    EXPECT_EQ(shortBar.HitTest(CPoint(5, 15)), CScrollBarLayout::PART_ARROW_LAST);
}

TEST_F(WindowTest, BarsShowWhenTheyCanScrollAndResizeTheClient) {
    CScrolled wnd;
    ASSERT_TRUE(wnd.Make(nullptr, CRect(0, 0, 200, 200)));
    wnd.m_sizes.clear();
    SCROLLINFO si = Info(0, 399, 200);
    si.fMask = SIF_RANGE | SIF_PAGE;
    wnd.SetScrollInfo(SB_VERT, &si);
    EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL);
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 186, 200));
    ASSERT_EQ(wnd.m_sizes.size(), 1u);
    EXPECT_EQ(wnd.m_sizes[0], CSize(186, 200));
    EXPECT_EQ(wnd.GetScrollLimit(SB_VERT), 200);
    // Positions stay within 0..limit.
    wnd.SetScrollPos(SB_VERT, 500);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 200);
    wnd.SetScrollPos(SB_VERT, -5);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 0);
    // A range the page covers hides the bar; EnableScrollBarCtrl shows and hides it directly.
    wnd.SetScrollRange(SB_VERT, 0, 0);
    EXPECT_FALSE(wnd.GetStyle() & WS_VSCROLL);
    wnd.EnableScrollBarCtrl(SB_BOTH, TRUE);
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 186, 186));
    wnd.EnableScrollBarCtrl(SB_BOTH, FALSE);
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 200, 200));
    SCROLLINFO got{};
    EXPECT_TRUE(wnd.GetScrollInfo(SB_VERT, &got, SIF_RANGE));
    EXPECT_EQ(got.nMax, 0);
    wnd.DestroyWindow();
}

TEST_F(WindowTest, ArrowsPagesAndThumbSendTheirScrollMessages) {
    CScrolled wnd;
    ASSERT_TRUE(wnd.Make(nullptr, CRect(0, 0, 200, 214)));
    SCROLLINFO si = Info(0, 299, 100);
    si.fMask = SIF_RANGE | SIF_PAGE;
    wnd.SetScrollInfo(SB_VERT, &si);
    Pump();
    // The bar is at x 186..200: arrows at the ends, the thumb at the top (14..76).
    struct Case {
        CPoint pt;
        UINT code;
    } cases[] = {{CPoint(193, 5), SB_LINEUP},
                 {CPoint(193, 208), SB_LINEDOWN},
                 {CPoint(193, 150), SB_PAGEDOWN}};
    for (const Case& c : cases) {
        wnd.m_scrolls.clear();
        m_backend.QueueClick(c.pt.x, c.pt.y);
        Pump();
        ASSERT_EQ(wnd.m_scrolls.size(), 2u);
        EXPECT_EQ(wnd.m_scrolls[0].code, c.code);
        EXPECT_EQ(wnd.m_scrolls[1].code, (UINT)SB_ENDSCROLL);
    }
    // Dragging the thumb down by its track room reaches the limit, tracking on the way.
    wnd.m_scrolls.clear();
    m_backend.QueueButtonDown(193, 20);
    m_backend.QueueMove(193, 80);
    m_backend.QueueMove(193, 500); // far below: still the limit
    m_backend.QueueButtonUp(193, 500);
    Pump();
    ASSERT_GE(wnd.m_scrolls.size(), 4u);
    EXPECT_EQ(wnd.m_scrolls[0].code, (UINT)SB_THUMBTRACK);
    EXPECT_GT(wnd.m_scrolls[0].pos, 0u);
    size_t n = wnd.m_scrolls.size();
    EXPECT_EQ(wnd.m_scrolls[n - 3].code, (UINT)SB_THUMBTRACK);
    EXPECT_EQ(wnd.m_scrolls[n - 3].pos, 200u);
    EXPECT_EQ(wnd.m_scrolls[n - 2].code, (UINT)SB_THUMBPOSITION);
    EXPECT_EQ(wnd.m_scrolls[n - 2].pos, 200u);
    EXPECT_EQ(wnd.m_scrolls[n - 1].code, (UINT)SB_ENDSCROLL);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 200);
    // A click in the client area is no scroll.
    wnd.m_scrolls.clear();
    m_backend.QueueClick(50, 50);
    Pump();
    EXPECT_TRUE(wnd.m_scrolls.empty());
    wnd.DestroyWindow();
}

TEST_F(WindowTest, ScrollWindowMovesTheChildren) {
    CColourWnd panel(RGB(0, 0, 0)), field(RGB(0, 200, 0));
    ASSERT_TRUE(panel.Make(nullptr, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(field.Make(&panel, CRect(0, 50, 100, 80)));
    Pump();
    panel.ScrollWindow(0, -40);
    Pump();
    CRect rc;
    field.GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(0, 10, 100, 40));
    EXPECT_EQ(Pixel(5, 20), RGB(0, 200, 0));
    EXPECT_EQ(Pixel(5, 60), RGB(0, 0, 0));
    panel.DestroyWindow();
}
