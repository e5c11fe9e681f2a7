// What the program's top-level window tells the desktop: title, icon, minimising, cursors.
#include "WindowTestEnv.h"

#include "framework/system/Resources.h"
#include "framework/window/Cursor.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

TEST_F(WindowTest, TopLevelTitleIconAndMinimiseReachTheDisplay) {
    RegisterProgramResources();
    CWnd main, child;
    ASSERT_TRUE(
        main.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 320, 240), nullptr, 0));
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 10, 10), &main, 1));
    main.SetWindowText("Slideshow");
    child.SetWindowText("not a title");
    EXPECT_EQ(m_backend.GetTitle(), "Slideshow");

    HICON hIcon = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_APP_ICON));
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(main.SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hIcon), 0);
    EXPECT_EQ((HICON)main.SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hIcon), hIcon);
    EXPECT_TRUE(m_backend.HasIcon());

    main.ShowWindow(SW_SHOWMINIMIZED);
    EXPECT_EQ(m_backend.GetMinimizeCount(), 1);
    child.ShowWindow(SW_SHOWMINIMIZED); // a child has nothing to minimise
    EXPECT_EQ(m_backend.GetMinimizeCount(), 1);
    main.DestroyWindow();
}

TEST_F(WindowTest, CursorsFromResourcesAndStandardShapes) {
    RegisterProgramResources();
    HCURSOR hHand = LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR));
    ASSERT_NE(hHand, nullptr);
    EXPECT_EQ(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)), hHand); // kept
    EXPECT_EQ(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(4242)), nullptr);
    SetCursor(hHand);
    ASSERT_NE(m_backend.GetCursor(), nullptr);
    EXPECT_EQ(m_backend.GetCursor()->width, 32);
    EXPECT_EQ(m_backend.GetCursor()->hotX, 6);
    EXPECT_EQ(m_backend.GetCursor()->hotY, 0);
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    EXPECT_NE(m_backend.GetCursor(), nullptr);
    EXPECT_EQ(SetCursor(LoadCursor(nullptr, IDC_ARROW)), LoadCursor(nullptr, IDC_WAIT));
    EXPECT_EQ(m_backend.GetCursor(), nullptr); // the display's own arrow
}
