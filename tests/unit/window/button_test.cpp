#include <gtest/gtest.h>

#include <vector>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/gdi/DC.h"
#include "framework/window/Button.h"
#include "framework/window/MessageLoop.h"

namespace {

const UINT ID_BUTTON = 42;

// Fills its face with the background colour the parent's colour answer left on the context.
class CFaceButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        m_draws.push_back(*dis);
        CDC::FromHandle(dis->hDC)->FillSolidRect(&dis->rcItem,
                                                 CDC::FromHandle(dis->hDC)->GetBkColor());
    }
    std::vector<DRAWITEMSTRUCT> m_draws;
};

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class CRecordingParent : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CTLCOLORBTN || message == WM_DRAWITEM || message == WM_COMMAND)
            m_seen.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override {
        if (nCtlColor == CTLCOLOR_BTN) {
            pDC->SetBkColor(RGB(1, 2, 3));
            return (HBRUSH)GetStockObject(BLACK_BRUSH);
        }
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    int Clicks(HWND from) const {
        int n = 0;
        for (const Seen& s : m_seen)
            n += s.message == WM_COMMAND && s.wParam == MAKEWPARAM(ID_BUTTON, BN_CLICKED) &&
                 (HWND)s.lParam == from;
        return n;
    }
    std::vector<Seen> m_seen;
};

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetBackend(&m_backend);
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                                      nullptr, 0));
        ASSERT_TRUE(m_button.Create("go", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                    CRect(50, 40, 150, 70), &m_parent, ID_BUTTON));
        AfxPumpUntilIdle();
    }
    void TearDown() override {
        m_parent.DestroyWindow();
        AfxSetBackend(nullptr);
    }
    CHeadlessBackend m_backend{400, 300};
    CRecordingParent m_parent;
    CFaceButton m_button;
};

TEST_F(ButtonTest, AsksForColoursThenDrawsOnTheSameContext) {
    ASSERT_GE(m_parent.m_seen.size(), 2u);
    m_parent.m_seen.clear();
    m_button.m_draws.clear();
    m_button.Invalidate(FALSE);
    AfxPumpUntilIdle();

    ASSERT_EQ(m_parent.m_seen.size(), 2u);
    EXPECT_EQ(m_parent.m_seen[0].message, (UINT)WM_CTLCOLORBTN);
    EXPECT_EQ((HWND)m_parent.m_seen[0].lParam, m_button.m_hWnd);
    EXPECT_EQ(m_parent.m_seen[1].message, (UINT)WM_DRAWITEM);
    EXPECT_EQ(m_parent.m_seen[1].wParam, ID_BUTTON);
    ASSERT_EQ(m_button.m_draws.size(), 1u) << "the parent's default reflects the draw request";
    const DRAWITEMSTRUCT& dis = m_button.m_draws[0];
    EXPECT_EQ(dis.hDC, (HDC)m_parent.m_seen[0].wParam)
        << "colour request and drawing share one context";
    EXPECT_EQ(dis.CtlType, (UINT)ODT_BUTTON);
    EXPECT_EQ(dis.CtlID, ID_BUTTON);
    EXPECT_EQ(dis.hwndItem, m_button.m_hWnd);
    EXPECT_EQ(CRect(dis.rcItem), CRect(0, 0, 100, 30));
    EXPECT_EQ(m_backend.GetPresentedPixel(60, 50), RGB(1, 2, 3));
    EXPECT_EQ(m_backend.GetPresentedPixel(149, 69), RGB(1, 2, 3));
}

TEST_F(ButtonTest, ClicksOnlyWhenPressedAndReleasedInside) {
    struct Step {
        BackendEvent::Kind kind;
        int x, y;
    };
    const BackendEvent::Kind D = BackendEvent::ButtonDown, U = BackendEvent::ButtonUp,
                             M = BackendEvent::MouseMove;
    struct Case {
        const char* what;
        std::vector<Step> steps;
        int clicks;
    } cases[] = {
        {"press and release inside", {{D, 60, 50}, {U, 61, 51}}, 1},
        {"release outside", {{D, 60, 50}, {M, 200, 200}, {U, 200, 200}}, 0},
        {"press outside, release inside", {{D, 20, 20}, {M, 60, 50}, {U, 60, 50}}, 0},
        {"out and back in", {{D, 60, 50}, {M, 300, 50}, {M, 149, 69}, {U, 149, 69}}, 1},
        {"two clicks", {{D, 60, 50}, {U, 60, 50}, {D, 100, 60}, {U, 100, 60}}, 2},
    };
    for (const Case& c : cases) {
        m_parent.m_seen.clear();
        for (const Step& s : c.steps) {
            BackendEvent e;
            e.kind = s.kind;
            e.x = s.x, e.y = s.y;
            e.button = s.kind == M ? 0 : 1;
            e.keyState = s.kind == D || (s.kind == M && c.steps[0].kind == D) ? MK_LBUTTON : 0;
            m_backend.QueueEvent(e);
            AfxPumpUntilIdle();
            if (s.kind == D && CRect(50, 40, 150, 70).PtInRect(CPoint(s.x, s.y))) {
                EXPECT_EQ(CWnd::GetCapture(), &m_button) << c.what;
            }
        }
        EXPECT_EQ(m_parent.Clicks(m_button.m_hWnd), c.clicks) << c.what;
        EXPECT_EQ(CWnd::GetCapture(), nullptr) << c.what;
        EXPECT_FALSE(m_button.IsPushed()) << c.what;
    }
}

TEST_F(ButtonTest, DisabledButtonDoesNotClick) {
    m_button.EnableWindow(FALSE);
    m_parent.m_seen.clear();
    m_backend.QueueClick(60, 50);
    AfxPumpUntilIdle();
    EXPECT_EQ(m_parent.Clicks(m_button.m_hWnd), 0);
}

} // namespace
