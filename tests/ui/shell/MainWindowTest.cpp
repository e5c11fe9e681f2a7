// The main window's frame, children and list rows at both screen sizes, and start-up's checks.
#include <algorithm>
#include <functional>

#include "app/ViewerApp.h"
#include "shell/ShellFixture.h"

namespace {

TEST(MainWindow, ChildrenStandAtTheirPlacesOnBothScreens) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 3);
    struct {
        int w, h;
        CRect next, exit, minimize, previous, about, list, makerLogo;
    } cases[] = {
        {800,
         600,
         {113, 566, 183, 586},
         {732, 566, 782, 586},
         {750, 8, 772, 20},
         {30, 566, 100, 586},
         {680, 566, 730, 586},
         {215, 560, 450, 0},
         {20, 25, 168, 67}},
        {1024,
         768,
         {225, 650, 295, 670},
         {844, 650, 894, 670},
         {974, 8, 996, 20},
         {142, 650, 212, 670},
         {792, 650, 842, 670},
         {327, 644, 562, 0},
         {132, 109, 280, 151}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        CViewerHarness run(c.w, c.h, path);
        ASSERT_TRUE(run.m_bCreated);
        CViewerDlg& d = run.Dlg();
        EXPECT_EQ(WindowRectOf(d), CRect(0, 0, c.w, c.h));
        EXPECT_EQ(WindowRectOf(run.Control(ID_NEXT)), c.next);
        EXPECT_EQ(WindowRectOf(run.Control(ID_EXIT)), c.exit);
        EXPECT_EQ(WindowRectOf(run.Control(ID_MINIMIZE)), c.minimize);
        EXPECT_EQ(WindowRectOf(run.Control(ID_PREVIOUS)), c.previous);
        EXPECT_EQ(WindowRectOf(run.Control(ID_ABOUT)), c.about);
        EXPECT_EQ(WindowRectOf(run.Control(ID_MAKER_LINK)), c.makerLogo);
        const CRect list = WindowRectOf(run.List());
        EXPECT_EQ(list.TopLeft(), c.list.TopLeft());
        EXPECT_EQ(list.right, c.list.right);
        for (CWnd* pTab : {&run.Control(ID_SHOW_IMAGE), &run.Control(ID_SHOW_DETAILS),
                           &run.Control(ID_SHOW_THUMBNAILS)})
            EXPECT_FALSE(pTab->IsWindowVisible());
        // The grey lines above and below the view area, black elsewhere.
        const int L = c.w / 2 - 400, T = c.h / 2 - 300;
        EXPECT_SCREEN_NEAR(run.Screen(), L + 400, T + 550, RGB(51, 51, 51));
        EXPECT_SCREEN_NEAR(run.Screen(), L + 10, T + 50, RGB(51, 51, 51));
        EXPECT_SCREEN_NEAR(run.Screen(), L + 400, T + 549, RGB(0, 0, 0));
        EXPECT_SCREEN_NEAR(run.Screen(), 2, 2, RGB(0, 0, 0));
        // The faces of NEXT and EXIT, inside their frames.
        EXPECT_SCREEN_NEAR(run.Screen(), c.next.left + 3, c.next.top + 3, RGB(49, 49, 49));
        EXPECT_SCREEN_NEAR(run.Screen(), c.exit.left + 3, c.exit.top + 3, RGB(49, 49, 49));
        EXPECT_EQ(run.Screen().GetTitle(), CString("Slideshow"));
        EXPECT_TRUE(run.Screen().HasIcon());
    }
}

TEST(MainWindow, ListRowsNameEveryItemAndMarkDamagedOnes) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    ITEM_RECORD first = MakeTestItem(0, RGB(200, 0, 0));
    first.m_strName = "Teapot \xC3\xA9t\xC3\xA9";
    writer.AddItem(first);
    ITEM_RECORD unnamed = MakeTestItem(1, RGB(0, 200, 0));
    unnamed.m_strName = "";
    writer.AddItem(unnamed);
    // A name whose length runs past the end of the file.
    writer.AddRecordBytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    const std::string path = WriteTestCollection(writer, dir);
    CViewerHarness run(800, 600, path);
    ASSERT_TRUE(run.m_bCreated);
    CListCombo& list = run.List();
    const char* expected[] = {"Comments",  "Thumbnails",
                              "-",         "1 of 3 * Teapot \xC3\xA9t\xC3\xA9",
                              "2 of 3 * ", "3 of 3 * (damaged)"};
    ASSERT_EQ(list.GetCount(), 6);
    for (int row = 0; row < 6; ++row) {
        CString text;
        list.GetLBText(row, text);
        EXPECT_EQ(text, CString(expected[row])) << "row " << row;
        if (row >= 3) {
            EXPECT_EQ(list.GetItemData(row), (DWORD_PTR)(row - 3));
        }
    }
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_EQ(run.Dlg().GetNavigation().GetLastRow(), 5);
    EXPECT_EQ(run.View(), 'C');
    EXPECT_FALSE(run.Dlg().HoldsItem());
    // Filling the list decoded no picture: the one file is the Comments page's first record.
    EXPECT_EQ(dir.Files().size(), 1u);
}

// The main window and its own children (the pages' insides left out), one line each.
std::string TopOfTree(CViewerHarness& run) {
    std::string text;
    const CWindowTree tree = run.Tree();
    for (const WINDOW_NODE& node : tree.Nodes())
        if (node.nDepth <= 1)
            text += std::string(CWindowTree::Line(node).GetString()) + "\n";
    return text;
}

TEST(MainWindow, WindowTreeOfAnItemViewAndOfAnItemWithoutPicture) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    for (int i = 0; i < 3; ++i)
        writer.AddItem(MakeTestItem(i, ItemColour(i), i != 1));
    CViewerHarness run(1024, 768, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    const char* const common =
        "  CListCombo id=400 shown enabled (327,644)-(562,666) \"\"\n"
        "  XWebButton id=301 shown enabled (142,650)-(212,670) \"PREVIOUS\"\n"
        "  XWebButton id=300 shown enabled (225,650)-(295,670) \"NEXT\"\n"
        "  XWebButton id=302 shown enabled (844,650)-(894,670) \"EXIT\"\n"
        "  XWebButton id=307 shown enabled (792,650)-(842,670) \"ABOUT\"\n"
        "  XWebButton id=306 shown enabled (974,8)-(996,20) \"-\"\n";
    const char* const tail =
        "  XWebButton id=304 shown enabled (636,650)-(696,670) \"DETAILS\"\n"
        "  XWebButton id=305 shown enabled (704,650)-(784,670) \"THUMBNAILS\"\n"
        "  CLinkStatic id=500 shown enabled (132,109)-(280,151) \"\"\n"
        "CAboutBox id=0 hidden enabled (430,230)-(594,537) \"\"\n";
    run.PickRow(3);
    EXPECT_EQ(TopOfTree(run),
              std::string("CViewerDlg id=0 shown enabled (0,0)-(1024,768) \"Slideshow\"\n"
                          "  CStatic id=65535 hidden enabled (126,268)-(268,470) \"\"\n"
                          "  CThumbnailCell id=0 hidden enabled (127,269)-(267,469) \"\"\n"
                          "  XScrollPanel id=400 hidden enabled (327,149)-(897,609) \"\"\n"
                          "  CCommentsPage id=0 hidden enabled (112,152)-(912,627) \"\"\n"
                          "  CThumbnailsPage id=0 hidden enabled (112,152)-(912,627) \"\"\n"
                          "  CThumbnailCell id=0 shown enabled (112,152)-(912,627) \"\"\n") +
                  common + "  XWebButton id=303 shown enabled (580,650)-(635,670) \"IMAGE\"\n" +
                  tail);
    // Item 1 has no picture: its details, with the cell and its frame, and IMAGE disabled.
    run.Command(ID_NEXT);
    EXPECT_EQ(TopOfTree(run),
              std::string("CViewerDlg id=0 shown enabled (0,0)-(1024,768) \"Slideshow\"\n"
                          "  CStatic id=65535 shown enabled (126,268)-(268,470) \"\"\n"
                          "  CThumbnailCell id=0 shown enabled (127,269)-(267,469) \"\"\n"
                          "  XScrollPanel id=400 shown enabled (327,149)-(897,609) \"\"\n"
                          "  CCommentsPage id=0 hidden enabled (112,152)-(912,627) \"\"\n"
                          "  CThumbnailsPage id=0 hidden enabled (112,152)-(912,627) \"\"\n"
                          "  CThumbnailCell id=0 hidden enabled (112,152)-(912,627) \"\"\n") +
                  common + "  XWebButton id=303 shown disabled (580,650)-(635,670) \"IMAGE\"\n" +
                  tail);
}

// The header band right of the maker's logo, where the title stands, as the user last saw it.
std::vector<COLORREF> HeaderBand(CHeadlessBackend& screen, int L, int T) {
    std::vector<COLORREF> pixels;
    for (int y = T + 26; y < T + 60; ++y)
        for (int x = L + 200; x < L + 800; ++x)
            pixels.push_back(screen.GetPresentedPixel(x, y));
    return pixels;
}

TEST(MainWindow, HeaderTitleLooksTheSameAfterManyViewSwitches) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 3);
    for (CSize screen : {CSize(800, 600), CSize(1024, 768)}) {
        SCOPED_TRACE(testing::Message() << screen.cx << " x " << screen.cy);
        CViewerHarness run(screen.cx, screen.cy, path);
        ASSERT_TRUE(run.m_bCreated);
        const int L = screen.cx / 2 - 400, T = screen.cy / 2 - 300;
        const std::vector<COLORREF> before = HeaderBand(run.Screen(), L, T);
        int nWhite = 0;
        for (COLORREF c : before)
            nWhite += c == RGB(255, 255, 255);
        ASSERT_GT(nWhite, 20) << "no title drawn";
        // Two rounds of the ring, the tabs, the About box and the list.
        for (int i = 0; i < 10; ++i)
            run.Command(ID_NEXT);
        run.PickRow(4);
        run.Command(ID_SHOW_DETAILS);
        run.Command(ID_SHOW_THUMBNAILS);
        const std::vector<COLORREF> after = HeaderBand(run.Screen(), L, T);
        int nChanged = 0;
        for (size_t i = 0; i < before.size(); ++i)
            nChanged += before[i] != after[i];
        EXPECT_EQ(nChanged, 0) << "screen saved as " << SaveFailureScreen(run.Screen());
    }
}

// Every text the program draws lands on pixels painted afresh: repainting a view, or a part of
// the window, again and again leaves the screen as it was.
TEST(MainWindow, RepaintsLeaveEveryViewUnchanged) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    for (int i = 0; i < 10; ++i)
        writer.AddItem(MakeTestItem(i, ItemColour(i), i != 2));
    writer.AddRecordBytes({6, 'T', 'e', 'a', 'p', 'o', 't', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    CViewerHarness run(1024, 768, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    CViewerDlg& d = run.Dlg();
    const CSize screen(1024, 768);
    auto Screen = [&] {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < screen.cy; ++y)
            for (int x = 0; x < screen.cx; ++x)
                pixels.push_back(run.Screen().GetPresentedPixel(x, y));
        return pixels;
    };
    // Comments, thumbnails (captions of a picture-less and a damaged item), an item, its
    // details, the damaged item in place.
    const std::vector<std::function<void()>> views = {
        [] {}, [&] { run.Command(ID_NEXT); }, [&] { run.PickRow(4); },
        [&] { run.Command(ID_SHOW_DETAILS); }, [&] { run.PickRow(13); }};
    for (size_t v = 0; v < views.size(); ++v) {
        SCOPED_TRACE(testing::Message() << "view " << v);
        views[v]();
        const std::vector<COLORREF> before = Screen();
        for (int i = 0; i < 3; ++i) {
            run.CurrentView().RedrawWindow(nullptr, nullptr,
                                           RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            CRect rcHeader(0, 84 + 40, 100, 84 + 60); // beside the title, not over it
            d.RedrawWindow(rcHeader, nullptr, RDW_INVALIDATE | RDW_ERASE);
            AfxPumpUntilIdle();
        }
        const std::vector<COLORREF> after = Screen();
        int nChanged = 0;
        for (size_t i = 0; i < before.size(); ++i)
            nChanged += before[i] != after[i];
        EXPECT_EQ(nChanged, 0) << "screen saved as " << SaveFailureScreen(run.Screen());
    }
}

TEST(MainWindow, MinimiseButtonMinimisesAndTheViewStays) {
    CScopedTempDir dir;
    CViewerHarness run(1024, 768, WriteItems(dir, 2));
    ASSERT_TRUE(run.m_bCreated);
    run.Click(974 + 11, 8 + 6);
    EXPECT_EQ(run.Screen().GetMinimizeCount(), 1);
    EXPECT_EQ(run.View(), 'C');
}

TEST(Startup, SmallScreensShowTheWarningAndEnd) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 2);
    struct {
        int w, h;
        size_t messages;
    } cases[] = {{799, 600, 1}, {800, 599, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        CHeadlessBackend backend(c.w, c.h);
        AfxSetBackend(&backend);
        RegisterProgramResources();
        AfxSetModulePath(path.c_str());
        bool bLoopRan = false;
        backend.SetIdleHandler([&] { bLoopRan = true; });
        CViewerApp app;
        EXPECT_FALSE(app.InitInstance());
        ASSERT_EQ(backend.GetMessages().size(), c.messages);
        CString strWarning;
        strWarning.LoadString(IDS_SCREEN_TOO_SMALL);
        EXPECT_EQ(backend.GetMessages()[0].text, strWarning);
        EXPECT_FALSE(bLoopRan);
        // Nothing but the warning: no window ever reached the display.
        EXPECT_FALSE(backend.IsScreenShown());
        AfxSetBackend(nullptr);
    }
}

TEST(Startup, UnopenableCollectionShowsNoWindowSaysWhyAndFails) {
    CScopedTempDir dir;
    // A viewer without a collection: its last eight bytes count no items.
    const std::string plain = dir.Path() + "/not-a-collection";
    FILE* f = fopen(plain.c_str(), "wb");
    const unsigned char bare[] = {0x7F, 'E', 'L', 'F', 0, 0, 0, 0, 0, 0, 0, 0};
    fwrite(bare, 1, sizeof bare, f);
    fclose(f);
    // Ends like a collection (two items, index at 0), but the index runs past the end.
    const std::string damaged = dir.Path() + "/damaged";
    f = fopen(damaged.c_str(), "wb");
    const unsigned char bytes[] = {'h', 'e', 'l', 'l', 'o', 2, 0, 0, 0, 0, 0, 0, 0};
    fwrite(bytes, 1, sizeof bytes, f);
    fclose(f);
    struct {
        std::string path;
        const char* said;
        size_t messages;
    } cases[] = {{plain, "carries no collection", 0},
                 {dir.Path() + "/missing", "carries no collection", 0},
                 {damaged, "is damaged", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CHeadlessBackend backend(800, 600);
        AfxSetBackend(&backend);
        RegisterProgramResources();
        AfxSetModulePath(c.path.c_str());
        CViewerApp app;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(app.InitInstance());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(app.ExitInstance(), 0);
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_NE(said.find(c.path), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        ASSERT_EQ(backend.GetMessages().size(), c.messages);
        if (c.messages > 0) {
            EXPECT_NE(backend.GetMessages()[0].text.Find("damaged"), -1);
        }
        EXPECT_FALSE(backend.IsScreenShown());
        AfxSetBackend(nullptr);
    }
}

TEST(Startup, ExactMinimumScreenRunsTheWindowUntilEscape) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 2);
    CHeadlessBackend backend(800, 600);
    AfxSetBackend(&backend);
    RegisterProgramResources();
    AfxSetModulePath(path.c_str());
    bool bShown = false;
    backend.SetIdleHandler([&] {
        bShown = backend.IsScreenShown() && NearColour(backend.GetPixel(400, 50), RGB(51, 51, 51));
        backend.QueueKey(VK_ESCAPE);
    });
    CViewerApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_TRUE(bShown);
    EXPECT_TRUE(backend.GetMessages().empty());
    AfxSetBackend(nullptr);
}

} // namespace
