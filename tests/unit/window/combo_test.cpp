#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/gdi/DC.h"
#include "framework/window/ComboBox.h"
#include "framework/window/ComboList.h"
#include "framework/window/MessageLoop.h"

namespace {

const UINT ID_COMBO = 400;
const int ROW = 20;        // every row's measured height
const int FIELD = ROW + 6; // the field: the row and its edge
const COLORREF SELECTED = RGB(0, 0, 200);
const COLORREF PLAIN = RGB(250, 250, 250);
const DWORD STYLE =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;

// Measures every row at ROW and paints rows in one colour per state, recording what it was asked.
class COwner : public CWnd {
public:
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT mis) override {
        m_measured.push_back((int)mis->itemID);
        mis->itemHeight = ROW;
    }
    void OnDrawItem(int, LPDRAWITEMSTRUCT dis) override {
        m_drawn.push_back(*dis);
        m_colours.push_back(
            {CDC::FromHandle(dis->hDC)->GetTextColor(), CDC::FromHandle(dis->hDC)->GetBkColor()});
        CDC::FromHandle(dis->hDC)->FillSolidRect(
            &dis->rcItem, (dis->itemState & ODS_SELECTED) ? SELECTED : PLAIN);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == CBN_SELCHANGE)
            m_changes.push_back({LOWORD(wParam), (HWND)lParam});
        return CWnd::OnCommand(wParam, lParam);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN)
            m_keys.push_back((int)pMsg->wParam);
        return FALSE;
    }
    // The last draw of row `item` (−2: any) whose state has all of `state`, or null.
    const DRAWITEMSTRUCT* LastDraw(int item, UINT state) const {
        for (auto it = m_drawn.rbegin(); it != m_drawn.rend(); ++it)
            if ((item == -2 || (int)it->itemID == item) && (it->itemState & state) == state)
                return &*it;
        return nullptr;
    }
    struct Change {
        int id;
        HWND from;
    };
    std::vector<int> m_measured;
    std::vector<DRAWITEMSTRUCT> m_drawn;
    std::vector<std::pair<COLORREF, COLORREF>> m_colours; // text and background at each draw
    std::vector<Change> m_changes;
    std::vector<int> m_keys; // keys the owner saw before they were dispatched
};

class ComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetBackend(&m_backend);
        LPCTSTR cls = AfxRegisterWndClass(0, nullptr, (HBRUSH)GetStockObject(WHITE_BRUSH));
        ASSERT_TRUE(
            m_owner.CreateEx(0, cls, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, 0));
    }
    void TearDown() override {
        m_owner.DestroyWindow();
        AfxSetBackend(nullptr);
    }
    void Make(int rows, CRect rect = CRect(100, 100, 300, 250)) {
        ASSERT_TRUE(m_combo.Create(STYLE, rect, &m_owner, ID_COMBO));
        for (int i = 0; i < rows; ++i) {
            char text[32];
            snprintf(text, sizeof text, "row %d", i);
            ASSERT_EQ(m_combo.AddString(text), i);
            m_combo.SetItemData(i, (DWORD_PTR)(1000 + i));
        }
        m_combo.SetCurSel(0);
        AfxPumpUntilIdle();
    }
    void Click(int x, int y) {
        m_backend.QueueClick(x, y);
        AfxPumpUntilIdle();
    }
    void Move(int x, int y) {
        m_backend.QueueMove(x, y);
        AfxPumpUntilIdle();
    }
    CRect ListRect() const {
        CRect r;
        m_combo.GetDroppedList()->GetWindowRect(&r);
        return r;
    }
    CHeadlessBackend m_backend{800, 600};
    COwner m_owner;
    CComboBox m_combo;
};

TEST_F(ComboTest, KeepsRowsTextDataAndSelection) {
    Make(5);
    EXPECT_EQ(m_owner.m_measured, (std::vector<int>{-1, 0, 1, 2, 3, 4}))
        << "the field, then each new row";
    EXPECT_EQ(m_combo.GetCount(), 5);
    EXPECT_EQ(m_combo.SendMessage(CB_GETCOUNT), 5);
    char text[32] = {};
    EXPECT_EQ(m_combo.SendMessage(CB_GETLBTEXT, 3, (LPARAM)text), 5);
    EXPECT_STREQ(text, "row 3");
    EXPECT_EQ(m_combo.SendMessage(CB_GETITEMDATA, 4), 1004);
    EXPECT_EQ(m_combo.GetItemHeight(2), ROW);
    EXPECT_EQ(m_combo.GetItemHeight(-1), ROW);

    m_owner.m_changes.clear();
    EXPECT_EQ(m_combo.SendMessage(CB_SETCURSEL, 2), 2);
    EXPECT_EQ(m_combo.SendMessage(CB_GETCURSEL), 2);
    EXPECT_TRUE(m_owner.m_changes.empty()) << "setting the selection is not a user's change";

    for (int bad : {-5, 5, 100}) {
        EXPECT_EQ(m_combo.SendMessage(CB_GETLBTEXT, (WPARAM)bad, (LPARAM)text), CB_ERR) << bad;
        EXPECT_EQ(m_combo.SendMessage(CB_GETITEMDATA, (WPARAM)bad), CB_ERR) << bad;
        EXPECT_EQ(m_combo.SendMessage(CB_SETITEMDATA, (WPARAM)bad, 1), CB_ERR) << bad;
    }
    EXPECT_EQ(m_combo.SendMessage(CB_SETCURSEL, 7), CB_ERR);
    EXPECT_EQ(m_combo.GetCurSel(), -1);
}

TEST_F(ComboTest, ClosedFieldIsOwnerDrawnAtTheMeasuredHeight) {
    Make(5);
    CRect window;
    m_combo.GetWindowRect(&window);
    EXPECT_EQ(window, CRect(100, 100, 300, 100 + FIELD)) << "the window takes the field's height";
    CRect client;
    m_combo.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 200) << "WS_VSCROLL belongs to the dropped list, not the field";
    m_combo.SetCurSel(3);
    AfxPumpUntilIdle();
    const DRAWITEMSTRUCT* field = m_owner.LastDraw(-2, ODS_COMBOBOXEDIT);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ((int)field->itemID, 3);
    EXPECT_EQ(field->CtlType, (UINT)ODT_COMBOBOX);
    EXPECT_EQ(field->CtlID, ID_COMBO);
    EXPECT_EQ(field->hwndItem, m_combo.m_hWnd);
    EXPECT_EQ(field->itemData, 1003u);
    EXPECT_EQ(CRect(field->rcItem).Height(), ROW);
    EXPECT_FALSE(m_combo.GetDroppedState());
    // Rows are drawn on the colours of the owner's control-colour answer (here the default).
    for (size_t i = 0; i < m_owner.m_colours.size(); ++i) {
        EXPECT_EQ(m_owner.m_colours[i].first, GetSysColor(COLOR_WINDOWTEXT)) << i;
        EXPECT_EQ(m_owner.m_colours[i].second, GetSysColor(COLOR_WINDOW)) << i;
    }
}

TEST_F(ComboTest, DropsHoversChoosesAndCloses) {
    Make(5);
    m_owner.m_changes.clear();
    Click(150, 110);
    ASSERT_TRUE(m_combo.GetDroppedState());
    const CRect list = ListRect();
    EXPECT_EQ(list.top, 100 + FIELD) << "the list drops below the field";
    EXPECT_EQ(list.Height(), 5 * ROW + 2) << "a short list is as high as its rows";
    EXPECT_EQ(m_backend.GetPresentedPixel(150, list.top + 1 + ROW / 2), SELECTED)
        << "the current row shows selected";

    const int row3 = list.top + 1 + 3 * ROW + ROW / 2;
    Move(150, row3);
    EXPECT_EQ(m_backend.GetPresentedPixel(150, row3), SELECTED) << "the row under the pointer";
    EXPECT_EQ(m_backend.GetPresentedPixel(150, list.top + 1 + ROW / 2), PLAIN);
    const DRAWITEMSTRUCT* hover = m_owner.LastDraw(3, ODS_SELECTED);
    ASSERT_NE(hover, nullptr);
    EXPECT_EQ(hover->itemState & ODS_COMBOBOXEDIT, 0u);
    EXPECT_EQ(hover->hwndItem, m_combo.m_hWnd);
    EXPECT_TRUE(m_owner.m_changes.empty()) << "hovering changes nothing yet";

    Click(150, row3);
    EXPECT_FALSE(m_combo.GetDroppedState());
    EXPECT_EQ(m_combo.GetCurSel(), 3);
    ASSERT_EQ(m_owner.m_changes.size(), 1u);
    EXPECT_EQ(m_owner.m_changes[0].id, (int)ID_COMBO);
    EXPECT_EQ(m_owner.m_changes[0].from, m_combo.m_hWnd);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(m_backend.GetPresentedPixel(150, row3), RGB(255, 255, 255))
        << "the list is gone from the screen";
}

TEST_F(ComboTest, ClickOutsideOrOnTheFieldClosesWithoutChange) {
    Make(5);
    for (CPoint outside : {CPoint(600, 500), CPoint(150, 110)}) {
        Click(150, 110);
        ASSERT_TRUE(m_combo.GetDroppedState());
        Move(150, ListRect().top + 1 + 2 * ROW + 5);
        m_owner.m_changes.clear();
        Click(outside.x, outside.y);
        EXPECT_FALSE(m_combo.GetDroppedState()) << outside.x;
        EXPECT_EQ(m_combo.GetCurSel(), 0);
        EXPECT_TRUE(m_owner.m_changes.empty());
    }
}

TEST_F(ComboTest, LongListScrolls) {
    Make(30);
    m_combo.SetCurSel(25);
    Click(150, 110);
    ASSERT_TRUE(m_combo.GetDroppedState());
    CComboList* pList = m_combo.GetDroppedList();
    EXPECT_EQ(ListRect().Height(), 150) << "the height given at creation";
    EXPECT_TRUE(pList->GetStyle() & WS_VSCROLL);
    CRect client;
    pList->GetClientRect(&client);
    EXPECT_EQ(client.Width(), 200 - 2 - GetSystemMetrics(SM_CXVSCROLL));
    const int visible = client.Height() / ROW;
    EXPECT_GE(pList->GetTopIndex(), 25 - visible + 1) << "the current row is scrolled into view";
    EXPECT_EQ(pList->GetScrollLimit(SB_VERT), 30 - visible);

    pList->SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(pList->GetTopIndex(), 0);
    pList->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(pList->GetTopIndex(), 1);
    pList->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(pList->GetTopIndex(), 1 + visible);
    pList->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100));
    EXPECT_EQ(pList->GetTopIndex(), 30 - visible) << "never past the last page";
    AfxPumpUntilIdle();

    // A click on the bottom arrow of the list's own scroll bar scrolls and keeps it open.
    const CRect list = ListRect();
    pList->SendMessage(WM_VSCROLL, SB_TOP);
    AfxPumpUntilIdle();
    Click(list.right - 1 - GetSystemMetrics(SM_CXVSCROLL) / 2, list.bottom - 1 - 5);
    EXPECT_TRUE(m_combo.GetDroppedState());
    EXPECT_EQ(pList->GetTopIndex(), 1);

    // The first visible row is the one at the top; choosing it selects that row.
    m_owner.m_changes.clear();
    Click(150, list.top + 1 + ROW / 2);
    EXPECT_FALSE(m_combo.GetDroppedState());
    EXPECT_EQ(m_combo.GetCurSel(), 1);
    EXPECT_EQ(m_owner.m_changes.size(), 1u);
}

TEST_F(ComboTest, ArrowKeysOnTheFocusedClosedCombo) {
    Make(3);
    m_combo.SetFocus();
    struct Case {
        int vk, sel, changes;
    } cases[] = {{VK_UP, 0, 0}, {VK_DOWN, 1, 1}, {VK_DOWN, 2, 2}, {VK_DOWN, 2, 2}, {VK_UP, 1, 3}};
    m_owner.m_changes.clear();
    for (const Case& c : cases) {
        m_backend.QueueKey(c.vk);
        AfxPumpUntilIdle();
        EXPECT_EQ(m_combo.GetCurSel(), c.sel);
        EXPECT_EQ((int)m_owner.m_changes.size(), c.changes);
    }
    EXPECT_FALSE(m_combo.GetDroppedState());
}

TEST_F(ComboTest, DroppedListTakesItsKeysBeforeTheOwner) {
    Make(6);
    m_combo.SetCurSel(1);
    Click(150, 110);
    ASSERT_TRUE(m_combo.GetDroppedState());
    m_owner.m_changes.clear();
    for (int vk : {VK_DOWN, VK_DOWN, VK_UP, VK_DOWN, VK_RETURN})
        m_backend.QueueKey(vk);
    AfxPumpUntilIdle();
    EXPECT_FALSE(m_combo.GetDroppedState());
    EXPECT_EQ(m_combo.GetCurSel(), 3);
    EXPECT_EQ(m_owner.m_changes.size(), 1u);
    EXPECT_TRUE(m_owner.m_keys.empty()) << "Enter must not reach the dialog as IDOK";

    Click(150, 110);
    m_backend.QueueKey(VK_DOWN);
    m_backend.QueueKey(VK_ESCAPE);
    AfxPumpUntilIdle();
    EXPECT_FALSE(m_combo.GetDroppedState());
    EXPECT_EQ(m_combo.GetCurSel(), 3) << "Escape closes without choosing";
    EXPECT_TRUE(m_owner.m_keys.empty()) << "Escape must not reach the dialog as IDCANCEL";

    m_backend.QueueKey(VK_ESCAPE);
    AfxPumpUntilIdle();
    EXPECT_EQ(m_owner.m_keys, (std::vector<int>{VK_ESCAPE}))
        << "with the list closed the owner sees keys first";
}

TEST_F(ComboTest, OpensUpwardsWhenTheScreenEndsBelow) {
    Make(10, CRect(215, 560, 450, 710));
    Click(300, 565);
    ASSERT_TRUE(m_combo.GetDroppedState());
    CRect field;
    m_combo.GetWindowRect(&field);
    EXPECT_EQ(ListRect().bottom, field.top);
    EXPECT_EQ(ListRect().Height(), 150);
}

} // namespace
