// Messages between windows: commands and notifications up the tree, colour and owner-draw
// requests reflected to the control that asks.
#include "WindowTestEnv.h"

#include "framework/window/Dialog.h"
#include "framework/window/Static.h"

namespace {

struct Call {
    std::string who;
    UINT id;
    int code;
};

class CRouterDlg : public CWnd {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        m_calls.push_back({"cmd", nID, nCode});
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    std::vector<Call> m_calls;
};

// Passes commands and notifications on to its own parent, as the program's panels do.
class CForwarder : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if ((message == WM_COMMAND || message == WM_NOTIFY) && GetParent()) {
            GetParent()->SendMessage(message, wParam, lParam);
        }
        return result;
    }
};

// A control that answers reflected requests itself.
class CReflectingStatic : public CStatic {
public:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override {
        m_nAsked = (int)nCtlColor;
        pDC->SetTextColor(RGB(1, 2, 3));
        return m_brush.m_hObject ? (HBRUSH)m_brush.m_hObject : nullptr;
    }
    void DrawItem(LPDRAWITEMSTRUCT dis) override { m_drawn.push_back(dis->itemID); }
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override { mis->itemHeight = 17; }
    CBrush m_brush;
    int m_nAsked = -1;
    std::vector<UINT> m_drawn;
};

// Overrides the colour request for the dialog background only and keeps the base otherwise.
class CColourParent : public CWnd {
public:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override {
        ++m_nRequests;
        if (nCtlColor == CTLCOLOR_DLG)
            return (HBRUSH)GetStockObject(BLACK_BRUSH);
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    int m_nRequests = 0;
};

class CDialogWithCommand : public CDialog {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        m_seen.push_back(nID);
        return CDialog::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    std::vector<UINT> m_seen;
};

} // namespace

TEST_F(WindowTest, CommandsAndNotificationsReachTheRouterWithIdAndCode) {
    CRouterDlg top;
    ASSERT_TRUE(
        top.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 200), nullptr, 0));
    CForwarder panel;
    ASSERT_TRUE(panel.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 100, 100), &top, 7));
    CStatic link;
    ASSERT_TRUE(link.Create("x", WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 10, 10), &panel, 501));

    // A click command from a grandchild, passed up by the panel.
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(501, STN_CLICKED), (LPARAM)link.m_hWnd);
    // A selection change keeps its notification code; a menu-style command has none.
    top.SendMessage(WM_COMMAND, MAKEWPARAM(400, CBN_SELCHANGE), (LPARAM)link.m_hWnd);
    top.SendMessage(WM_COMMAND, MAKEWPARAM(302, 1), 0);
    // A right-click notification from the grandchild reaches the router with WM_NOTIFY in
    // the high half of the code.
    NMHDR nm{link.m_hWnd, 501, NM_RCLICK};
    panel.SendMessage(WM_NOTIFY, 501, (LPARAM)&nm);

    ASSERT_EQ(top.m_calls.size(), 4u);
    EXPECT_EQ(top.m_calls[0].id, 501u);
    EXPECT_EQ(top.m_calls[0].code, STN_CLICKED);
    EXPECT_EQ(top.m_calls[1].code, CBN_SELCHANGE);
    EXPECT_EQ(top.m_calls[2].code, CN_COMMAND);
    EXPECT_EQ(top.m_calls[3].id, 501u);
    EXPECT_EQ(top.m_calls[3].code, (int)MAKELONG(NM_RCLICK, WM_NOTIFY));
    top.DestroyWindow();
}

TEST_F(WindowTest, CommandPassedToTheBaseKeepsTheDialogDefaults) {
    // IDOK and IDCANCEL end a dialog through OnOK/OnCancel after the router saw them; other
    // ids change nothing.
    struct Case {
        UINT id;
        bool ends;
    } cases[] = {{IDOK, true}, {IDCANCEL, true}, {300, false}};
    for (const Case& c : cases) {
        CDialogWithCommand dlg;
        ASSERT_TRUE(dlg.Create(200, nullptr) ||
                    dlg.CreateEx(0, "#32770", "", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
        dlg.ShowWindow(SW_SHOW);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), 0);
        ASSERT_EQ(dlg.m_seen.size(), 1u);
        EXPECT_EQ(dlg.m_seen[0], c.id);
        EXPECT_EQ(dlg.IsWindowVisible() == FALSE, c.ends) << c.id;
        dlg.DestroyWindow();
    }
}

TEST_F(WindowTest, ColourRequestsAreReflectedToTheAskingControl) {
    CColourParent parent;
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0));
    CReflectingStatic answering, silent;
    ASSERT_TRUE(answering.Create("", WS_VISIBLE, CRect(0, 0, 20, 20), &parent, 1));
    ASSERT_TRUE(silent.Create("", WS_VISIBLE, CRect(30, 0, 50, 20), &parent, 2));
    answering.m_brush.CreateSolidBrush(RGB(0, 0, 255));
    Pump();

    // The control's own answer paints its background; the parent was asked first.
    EXPECT_EQ(Pixel(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(answering.m_nAsked, CTLCOLOR_STATIC);
    EXPECT_GE(parent.m_nRequests, 2);
    // A control without an answer gets the default colours.
    EXPECT_EQ(silent.m_nAsked, CTLCOLOR_STATIC);
    EXPECT_EQ(Pixel(35, 5), GetSysColor(COLOR_BTNFACE));

    // Owner-draw requests reach the control's own DrawItem and MeasureItem.
    DRAWITEMSTRUCT dis{};
    dis.CtlID = 1;
    dis.itemID = 9;
    dis.hwndItem = answering.m_hWnd;
    parent.SendMessage(WM_DRAWITEM, 1, (LPARAM)&dis);
    MEASUREITEMSTRUCT mis{};
    mis.CtlID = 1;
    parent.SendMessage(WM_MEASUREITEM, 1, (LPARAM)&mis);
    EXPECT_EQ(answering.m_drawn, std::vector<UINT>{9});
    EXPECT_EQ(mis.itemHeight, 17u);
    parent.DestroyWindow();
}

TEST_F(WindowTest, DefaultIsTheDefaultOfTheMessageBeingHandled) {
    // WM_SETTEXT nested inside another handler's Default must not confuse either.
    class CNested : public CWnd {
    protected:
        void OnSize(UINT, int, int) override {
            SetWindowText("inner");
            Default();
        }
    } wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "outer", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, "inner");
    wnd.MoveWindow(0, 0, 20, 20);
    wnd.GetWindowText(text);
    EXPECT_EQ(text, "inner");
    wnd.DestroyWindow();
}

TEST_F(WindowTest, DestroyingAParentDestroysChildrenAndOwnedPopups) {
    std::vector<std::string> order;
    class CLogged : public CWnd {
    public:
        std::vector<std::string>* m_pOrder = nullptr;
        std::string m_strName;

    protected:
        void OnDestroy() override { m_pOrder->push_back(m_strName); }
    };
    CLogged top, child, popup;
    top.m_pOrder = child.m_pOrder = popup.m_pOrder = &order;
    top.m_strName = "top";
    child.m_strName = "child";
    popup.m_strName = "popup";
    ASSERT_TRUE(top.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, "", 0, CRect(0, 0, 5, 5), &top, 3));
    ASSERT_TRUE(popup.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 5, 5), &top, 0));
    HWND hChild = child.m_hWnd;
    EXPECT_EQ(CWnd::FromHandle(hChild), &child);
    EXPECT_EQ(top.GetDlgItem(3), &child);

    top.DestroyWindow();
    EXPECT_EQ(order, (std::vector<std::string>{"popup", "top", "child"}));
    EXPECT_FALSE(IsWindow(hChild));
    EXPECT_EQ(CWnd::FromHandle(hChild), nullptr);
    EXPECT_EQ(child.m_hWnd, nullptr);
    // Handles are not reused: a new window never answers to an old handle.
    CWnd again;
    ASSERT_TRUE(again.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    EXPECT_NE(again.m_hWnd, hChild);
    again.DestroyWindow();
}
