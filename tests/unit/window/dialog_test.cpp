// Dialogs from the program's templates: sizes in dialog units, their statics, the modal loop
// and how it ends.
#include "WindowTestEnv.h"

#include <functional>

#include "framework/window/Dialog.h"
#include "framework/window/Static.h"
#include "framework/window/WinApp.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

namespace {
class CInitDialog : public CDialog {
public:
    explicit CInitDialog(UINT nID = IDD_ABOUT_BOX, CWnd* pParent = nullptr)
        : CDialog(nID, pParent) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_bInitVisible = IsWindowVisible();
        ++m_nInits;
        if (m_nEndAtInit)
            EndDialog(m_nEndAtInit);
        return TRUE;
    }
    int m_nInits = 0;
    int m_nEndAtInit = 0;
    BOOL m_bInitVisible = TRUE;
};

class DialogTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        RegisterProgramResources();
    }
};
} // namespace

TEST(MulDivTest, RoundsAsThePlatform) {
    struct Case {
        int a, b, c, expected;
    } cases[] = {
        {109, 6, 4, 164}, {189, 13, 8, 307},  {370, 6, 4, 555}, {1, 6, 4, 2}, // .5 rounds up
        {-1, 6, 4, -2},   {-109, 6, 4, -164}, {7, 1, 0, -1},    {0x7FFFFFFF, 2, 1, -1}, // overflow
        {8, 96, 72, 11},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST_F(DialogTest, TemplatesBecomePixelsWithBaseUnitsSixByThirteen) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 320, 240), nullptr, 0));
    struct Case {
        UINT id;
        int cx, cy;
    } cases[] = {
        {IDD_ABOUT_BOX, 164, 307},       // 109 × 189 units
        {IDD_THUMBNAILS_PAGE, 555, 306}, // 370 × 188
        {IDD_COMMENTS_PAGE, 822, 752},   // 548 × 463
        {IDD_VIEWER, 675, 453},          // 450 × 279
        {IDD_THUMBNAIL_CELL, 354, 174},  // 236 × 107
    };
    for (const Case& c : cases) {
        CInitDialog dlg(c.id);
        ASSERT_TRUE(dlg.Create(c.id, &owner)) << c.id;
        CRect rc;
        dlg.GetWindowRect(&rc);
        EXPECT_EQ(rc.Width(), c.cx) << c.id;
        EXPECT_EQ(rc.Height(), c.cy) << c.id;
        // OnInitDialog ran inside Create, on a window not yet shown.
        EXPECT_EQ(dlg.m_nInits, 1);
        EXPECT_FALSE(dlg.m_bInitVisible);
        dlg.DestroyWindow();
    }
    CDialog missing;
    EXPECT_FALSE(missing.Create(4242, &owner));
    owner.DestroyWindow();
}

TEST_F(DialogTest, CommentsPageStaticsStandWhereTheirUnitsSay) {
    CWnd owner;
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 320, 240), nullptr, 0));
    CInitDialog page(IDD_COMMENTS_PAGE, &owner);
    ASSERT_TRUE(page.Create(IDD_COMMENTS_PAGE, &owner));
    struct Case {
        int id;
        CRect rc;
    } cases[] = {
        {IDC_CREATED_BY, CRect(30, 55, 30 + 138, 55 + 13)},     // 20, 34, 92 × 8 units
        {IDC_DATE_CREATED, CRect(30, 107, 30 + 170, 107 + 13)}, // 20, 66, 113 × 8 (169.5 → 170)
    };
    for (const Case& c : cases) {
        CWnd* pItem = page.GetDlgItem(c.id);
        ASSERT_NE(pItem, nullptr) << c.id;
        CRect rc;
        pItem->GetWindowRect(&rc);
        page.ScreenToClient(&rc);
        EXPECT_EQ(rc, c.rc) << c.id;
        EXPECT_NE(dynamic_cast<CStatic*>(pItem), nullptr);
        EXPECT_NE(pItem->GetFont(), nullptr); // the template font
    }
    page.SetDlgItemText(IDC_CREATED_BY, "Ann");
    CString text;
    page.GetDlgItem(IDC_CREATED_BY)->GetWindowText(text);
    EXPECT_EQ(text, "Ann");
    owner.DestroyWindow();
    EXPECT_EQ(page.m_hWnd, nullptr); // a child page goes with its parent
}

TEST_F(DialogTest, ModalLoopEndsOnEndDialogKeysCloseOrDestroy) {
    struct Case {
        const char* name;
        std::function<void(CInitDialog&)> step;
        INT_PTR expected;
    } cases[] = {
        {"EndDialog", [](CInitDialog& d) { d.EndDialog(7); }, 7},
        {"Enter", [this](CInitDialog&) { m_backend.QueueKey(VK_RETURN); }, IDOK},
        {"Escape", [this](CInitDialog&) { m_backend.QueueKey(VK_ESCAPE); }, IDCANCEL},
        {"desktop close", [this](CInitDialog&) { m_backend.QueueClose(); }, IDCANCEL},
        {"DestroyWindow", [](CInitDialog& d) { d.DestroyWindow(); }, -1},
    };
    for (const Case& c : cases) {
        CInitDialog dlg(IDD_VIEWER);
        BOOL bShownInLoop = FALSE;
        m_backend.SetIdleHandler([&] {
            bShownInLoop = dlg.IsWindowVisible();
            c.step(dlg);
        });
        EXPECT_EQ(dlg.DoModal(), c.expected) << c.name;
        EXPECT_TRUE(bShownInLoop) << c.name;
        EXPECT_EQ(dlg.m_hWnd, nullptr) << c.name; // the window goes when the loop ends
    }
    m_backend.SetIdleHandler(nullptr);
}

TEST_F(DialogTest, DialogEndedDuringInitialisationNeverRunsTheLoop) {
    CInitDialog dlg(IDD_VIEWER);
    dlg.m_nEndAtInit = -1;
    int nIdle = 0;
    m_backend.SetIdleHandler([&] { ++nIdle; });
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(nIdle, 0);
    EXPECT_EQ(m_backend.GetPresentCount(), 0); // nothing was ever shown
    m_backend.SetIdleHandler(nullptr);
    // A template that does not exist: DoModal fails at once.
    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(DialogTest, ModelessDialogHidesOnEndAndItsOwnerIsReEnabled) {
    CWnd main;
    ASSERT_TRUE(
        main.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 320, 240), nullptr, 0));
    CInitDialog about(IDD_ABOUT_BOX, &main);
    ASSERT_TRUE(about.Create(IDD_ABOUT_BOX, &main));
    EXPECT_FALSE(about.IsWindowVisible());
    about.CenterWindow();
    CRect rc;
    about.GetWindowRect(&rc);
    EXPECT_EQ(rc.left, (320 - 164) / 2);
    about.ShowWindow(SW_SHOWNORMAL);
    EXPECT_EQ(CWnd::GetActiveWindow(), &about);
    main.EnableWindow(FALSE);
    // Escape goes to the active dialog even though the main window is disabled.
    m_backend.QueueKey(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(about.IsWindowVisible());
    EXPECT_TRUE(IsWindow(about.m_hWnd));
    main.EnableWindow(TRUE);
    main.DestroyWindow();
    EXPECT_FALSE(IsWindow(about.m_hWnd)); // owned pop-ups go with their owner
}

TEST_F(DialogTest, MessageBoxesGoToTheDisplayWithTheProgramName) {
    AfxMessageBox("Screen too small");
    CWnd wnd;
    wnd.MessageBox("text", "caption");
    ASSERT_EQ(m_backend.GetMessages().size(), 2u);
    EXPECT_EQ(m_backend.GetMessages()[0].text, "Screen too small");
    EXPECT_FALSE(m_backend.GetMessages()[0].caption.IsEmpty());
    EXPECT_EQ(m_backend.GetMessages()[1].caption, "caption");
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 14);
}
