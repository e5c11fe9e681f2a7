// Where input goes: the window under the mouse, capture, disabled windows, statics that let
// the mouse through, cursors, and keys for the focus window and its dialog.
#include <functional>

#include "WindowTestEnv.h"

#include "framework/window/Cursor.h"
#include "framework/window/Dialog.h"
#include "framework/window/Static.h"

namespace {
struct Seen {
    std::string who;
    UINT message;
    CPoint pt;
};

class CMouseWnd : public CColourWnd {
public:
    CMouseWnd(std::vector<Seen>* pLog, const char* who) : m_pLog(pLog), m_strWho(who) {}
    std::vector<Seen>* m_pLog;
    std::string m_strWho;
    HCURSOR m_hCursor = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETCURSOR)
            m_pLog->push_back({m_strWho, message, CPoint()});
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
            m_pLog->push_back(
                {m_strWho, message, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))});
        }
        return CColourWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override {
        if (!m_hCursor)
            return CColourWnd::OnSetCursor(pWnd, nHitTest, message);
        ::SetCursor(m_hCursor);
        return TRUE;
    }
};

class CKeyDialog : public CDialog {
public:
    std::vector<UINT> m_keys;
    int m_nOK = 0, m_nCancel = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_LEFT) {
            m_keys.push_back(VK_LEFT);
            return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }
    void OnOK() override { ++m_nOK; }
    void OnCancel() override { ++m_nCancel; }
};
} // namespace

TEST_F(WindowTest, MouseGoesToTheTopmostEnabledWindowUnderIt) {
    std::vector<Seen> log;
    CMouseWnd top(&log, "top"), child(&log, "child"), popup(&log, "popup");
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 320, 240)));
    ASSERT_TRUE(child.Make(&top, CRect(10, 10, 60, 60)));
    ASSERT_TRUE(popup.Make(&top, CRect(40, 40, 100, 100), WS_VISIBLE | WS_POPUP));
    CStatic label, link;
    ASSERT_TRUE(label.Create("label", WS_VISIBLE, CRect(100, 100, 150, 120), &top, 1));
    ASSERT_TRUE(link.Create("link", WS_VISIBLE | SS_NOTIFY, CRect(100, 130, 150, 150), &top, 2));
    Pump();

    struct Case {
        CPoint pt;
        const char* who;
        CPoint client;
    } cases[] = {
        {CPoint(20, 20), "child", CPoint(10, 10)},
        {CPoint(50, 50), "popup", CPoint(10, 10)}, // the pop-up lies above the child
        {CPoint(5, 5), "top", CPoint(5, 5)},
        {CPoint(110, 110), "top", CPoint(110, 110)}, // a plain static lets the mouse through
    };
    for (const Case& c : cases) {
        log.clear();
        m_backend.QueueButtonDown(c.pt.x, c.pt.y);
        Pump();
        // The cursor is settled first (the window's parents are asked too), then the click.
        ASSERT_GE(log.size(), 2u) << c.who;
        EXPECT_EQ(log.front().who, c.who);
        EXPECT_EQ(log.front().message, (UINT)WM_SETCURSOR);
        EXPECT_EQ(log.back().who, c.who);
        EXPECT_EQ(log.back().message, (UINT)WM_LBUTTONDOWN);
        EXPECT_EQ(log.back().pt, c.client);
        m_backend.QueueButtonUp(c.pt.x, c.pt.y);
        Pump();
    }
    top.DestroyWindow();
}

TEST_F(WindowTest, DisabledWindowsAndTheirChildrenGetNoInput) {
    std::vector<Seen> log;
    CMouseWnd top(&log, "top"), child(&log, "child"), grandchild(&log, "grandchild");
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 320, 240)));
    ASSERT_TRUE(child.Make(&top, CRect(10, 10, 110, 110)));
    ASSERT_TRUE(grandchild.Make(&child, CRect(10, 10, 50, 50)));
    Pump();

    // A disabled child is passed over: its parent hears the click.
    child.EnableWindow(FALSE);
    log.clear();
    m_backend.QueueClick(30, 30);
    Pump();
    for (const Seen& s : log)
        EXPECT_EQ(s.who, "top");
    EXPECT_FALSE(log.empty());
    // A disabled top-level window takes nothing, nor do its enabled children.
    child.EnableWindow(TRUE);
    top.EnableWindow(FALSE);
    log.clear();
    m_backend.QueueClick(30, 30);
    m_backend.QueueKey(VK_RETURN);
    Pump();
    EXPECT_TRUE(log.empty());
    top.EnableWindow(TRUE);
    top.DestroyWindow();
}

TEST_F(WindowTest, CaptureTakesEveryMoveUntilReleased) {
    std::vector<Seen> log;
    CMouseWnd top(&log, "top"), child(&log, "child");
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 320, 240)));
    ASSERT_TRUE(child.Make(&top, CRect(100, 100, 150, 150)));
    Pump();
    // Without capture the button-down window does not keep the mouse.
    m_backend.QueueButtonDown(110, 110);
    m_backend.QueueMove(10, 10);
    Pump();
    EXPECT_EQ(log.back().who, "top");

    child.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &child);
    log.clear();
    m_backend.QueueMove(10, 10);
    m_backend.QueueButtonUp(300, 200);
    Pump();
    ASSERT_EQ(log.size(), 2u); // no WM_SETCURSOR while captured
    EXPECT_EQ(log[0].who, "child");
    EXPECT_EQ(log[0].pt, CPoint(-90, -90));
    EXPECT_EQ(log[1].message, (UINT)WM_LBUTTONUP);
    EXPECT_EQ(log[1].pt, CPoint(200, 100));
    ReleaseCapture();
    log.clear();
    m_backend.QueueMove(10, 10);
    Pump();
    EXPECT_EQ(log.back().who, "top");
    // A destroyed window gives the capture up.
    child.SetCapture();
    child.DestroyWindow();
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    top.DestroyWindow();
}

TEST_F(WindowTest, AHiddenOrDisabledWindowGivesUpTheCaptureAndTakesNoClick) {
    std::vector<Seen> log;
    CMouseWnd top(&log, "top"), page(&log, "page"), link(&log, "link");
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 320, 240)));
    ASSERT_TRUE(page.Make(&top, CRect(0, 0, 200, 200)));
    ASSERT_TRUE(link.Make(&page, CRect(10, 10, 60, 30)));
    Pump();
    struct {
        const char* what;
        std::function<void()> lose;
        std::function<void()> restore;
    } cases[] = {
        {"the window hidden", [&] { link.ShowWindow(SW_HIDE); }, [&] { link.ShowWindow(SW_SHOW); }},
        {"its parent hidden", [&] { page.ShowWindow(SW_HIDE); }, [&] { page.ShowWindow(SW_SHOW); }},
        {"the window disabled", [&] { link.EnableWindow(FALSE); },
         [&] { link.EnableWindow(TRUE); }},
        {"its parent disabled", [&] { page.EnableWindow(FALSE); },
         [&] { page.EnableWindow(TRUE); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        link.SetCapture();
        c.lose();
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        log.clear();
        m_backend.QueueClick(300, 200);
        Pump();
        for (const Seen& s : log)
            EXPECT_NE(s.who, "link");
        c.restore();
    }
    top.DestroyWindow();
}

TEST_F(WindowTest, CursorComesFromTheHandlerTheClassOrTheWaitCount) {
    std::vector<Seen> log;
    CMouseWnd top(&log, "top"), hand(&log, "hand");
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 320, 240)));
    ASSERT_TRUE(hand.Make(&top, CRect(100, 100, 150, 150)));
    HCURSOR hWait = LoadCursor(nullptr, IDC_WAIT);
    hand.m_hCursor = hWait;
    Pump();
    m_backend.QueueMove(120, 120);
    Pump();
    EXPECT_NE(m_backend.GetCursor(), nullptr);
    m_backend.QueueMove(10, 10);
    Pump();
    EXPECT_EQ(m_backend.GetCursor(), nullptr); // the class arrow
    // The busy cursor holds while the wait count is up, whatever the windows would set.
    top.BeginWaitCursor();
    top.BeginWaitCursor();
    m_backend.QueueMove(20, 20);
    Pump();
    EXPECT_NE(m_backend.GetCursor(), nullptr);
    top.EndWaitCursor();
    EXPECT_NE(m_backend.GetCursor(), nullptr);
    top.EndWaitCursor();
    EXPECT_EQ(m_backend.GetCursor(), nullptr);
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
    top.EndWaitCursor(); // unmatched: no harm
    EXPECT_EQ(AfxGetWaitCursorCount(), 0);
    top.DestroyWindow();
}

TEST_F(WindowTest, NotifyingStaticReportsClicksToItsParent) {
    class CParent : public CColourWnd {
    public:
        std::vector<std::pair<UINT, int>> m_commands;

    protected:
        BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
            m_commands.push_back({LOWORD(wParam), HIWORD(wParam)});
            return CColourWnd::OnCommand(wParam, lParam);
        }
    } top;
    ASSERT_TRUE(top.Make(nullptr, CRect(0, 0, 320, 240)));
    CStatic link, label;
    ASSERT_TRUE(link.Create("link", WS_VISIBLE | SS_NOTIFY, CRect(10, 10, 60, 30), &top, 501));
    ASSERT_TRUE(label.Create("label", WS_VISIBLE, CRect(10, 40, 60, 60), &top, 502));
    Pump();
    m_backend.QueueClick(20, 20);
    m_backend.QueueClick(20, 50);
    Pump();
    ASSERT_EQ(top.m_commands.size(), 1u);
    EXPECT_EQ(top.m_commands[0].first, 501u);
    EXPECT_EQ(top.m_commands[0].second, STN_CLICKED);
    top.DestroyWindow();
}

TEST_F(WindowTest, KeysReachTheDialogFirstThenTheFocusWindow) {
    CKeyDialog dlg;
    ASSERT_TRUE(
        dlg.CreateEx(0, "#32770", "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 200), nullptr, 0));
    std::vector<Seen> log;
    class CKeyWnd : public CColourWnd {
    public:
        std::vector<UINT> m_keys;

    protected:
        void OnKeyDown(UINT nChar, UINT, UINT) override { m_keys.push_back(nChar); }
    } field;
    ASSERT_TRUE(field.Make(&dlg, CRect(0, 0, 50, 20)));
    field.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &field);
    for (int vk : {VK_LEFT, VK_DOWN, VK_RETURN, VK_ESCAPE})
        m_backend.QueueKey(vk);
    Pump();
    EXPECT_EQ(dlg.m_keys, std::vector<UINT>{VK_LEFT});   // the dialog's own choice
    EXPECT_EQ(field.m_keys, std::vector<UINT>{VK_DOWN}); // what the dialog lets through
    EXPECT_EQ(dlg.m_nOK, 1);                             // Enter
    EXPECT_EQ(dlg.m_nCancel, 1);                         // Escape
    // Disabling the focus window takes the focus away.
    field.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
    dlg.DestroyWindow();
}
