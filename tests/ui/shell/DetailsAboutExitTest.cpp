// The details layout, the About box's darkening, and the ways the program ends.
#include <map>

#include "shell/ShellFixture.h"

namespace {

ITEM_RECORD ItemWithDetails(const std::vector<std::pair<const char*, CString>>& details) {
    ITEM_RECORD item = MakeTestItem(0, RGB(100, 150, 200));
    item.detailNames.RemoveAll();
    item.detailValues.RemoveAll();
    for (const auto& d : details) {
        item.detailNames.Add(d.first);
        item.detailValues.Add(d.second);
    }
    return item;
}

BOOL AboutBoxShown(CViewerHarness& run) {
    const CWindowTree tree = run.Tree();
    const WINDOW_NODE* pBox = tree.Find("CAboutBox");
    return pBox != nullptr && pBox->bShown;
}

CString Words(int n) {
    CString s;
    for (int i = 0; i < n; ++i)
        s += "word ";
    return s;
}

struct ROW {
    CRect name, value;
};

// The fields inside the details panel, in creation order: the filler, then name and value of
// each row.
std::vector<CWnd*> PanelFields(CViewerHarness& run) {
    const CWindowTree tree = run.Tree();
    const WINDOW_NODE* pPanel = nullptr;
    for (const WINDOW_NODE& node : tree.Nodes())
        if (node.nDepth == 1 && node.strClass == "XScrollPanel")
            pPanel = &node;
    std::vector<CWnd*> fields;
    for (const WINDOW_NODE* pNode : tree.ChildrenOf(pPanel))
        if (pNode->strClass == "XWrappingStatic")
            fields.push_back(pNode->pWnd);
    return fields;
}

CWnd& Filler(CViewerHarness& run) {
    return *PanelFields(run).at(0);
}

std::vector<ROW> DetailRows(CViewerHarness& run) {
    const std::vector<CWnd*> fields = PanelFields(run);
    std::vector<ROW> rows;
    for (size_t i = 1; i + 1 < fields.size(); i += 2) {
        ROW row;
        for (int f = 0; f < 2; ++f) {
            CRect rc;
            fields[i + f]->GetWindowRect(&rc);
            run.DetailsPanel().ScreenToClient(&rc);
            (f == 0 ? row.name : row.value) = rc;
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(DetailsView, RowsStackWithOnePixelGapsAndEmptyValuesCloseUp) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.AddItem(
        ItemWithDetails({{"Short", "one"}, {"Skipped", ""}, {"", "no name"}, {"Long", Words(60)}}));
    CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    run.PickRow(3);
    run.Command(ID_SHOW_DETAILS);
    ASSERT_EQ(run.View(), 'D');
    const std::vector<ROW> rows = DetailRows(run);
    ASSERT_EQ(rows.size(), 3u);
    int y = 0;
    for (const ROW& row : rows) {
        EXPECT_EQ(row.name, CRect(0, y, 170, row.value.bottom));
        EXPECT_EQ(row.value.left, 171);
        EXPECT_EQ(row.value.top, y);
        EXPECT_EQ(row.value.Width(), 405); // the rows fit: values get 20 pixels more
        y = row.value.bottom + 1;
    }
    EXPECT_GT(rows[2].value.Height(), rows[0].value.Height()); // the long value wraps
    CRect filler, client;
    Filler(run).GetWindowRect(&filler);
    run.DetailsPanel().ScreenToClient(&filler);
    run.DetailsPanel().GetClientRect(&client);
    // The width was read while the panel still had its bar: at least the client's width.
    EXPECT_EQ(filler.left, 0);
    EXPECT_EQ(filler.top, y);
    EXPECT_EQ(filler.bottom, client.Height() + 1);
    EXPECT_GE(filler.right, client.Width());
    // Panel, cell and frame at their places in the 800 × 600 frame.
    EXPECT_EQ(WindowRectOf(run.DetailsPanel()), CRect(215, 65, 785, 525));
    EXPECT_EQ(WindowRectOf(run.DetailsCell()), CRect(15, 185, 155, 385));
    EXPECT_EQ(WindowRectOf(run.Child("CStatic", 0xFFFF)), CRect(14, 184, 156, 386));
    EXPECT_SCREEN_NEAR(run.Screen(), 215 + 170, 65 + 5, RGB(51, 51, 51)); // the column gap
    EXPECT_SCREEN_NEAR(run.Screen(), 14, 300, RGB(255, 255, 255));        // the white frame
    EXPECT_SCREEN_NEAR(run.Screen(), 85, 285, RGB(100, 150, 200));        // the small picture
}

TEST(DetailsView, RowsTallerThanThePanelScrollAndTheNextItemStartsAtTheTop) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    std::vector<std::pair<const char*, CString>> many;
    for (int i = 0; i < 40; ++i)
        many.push_back({"Row", Words(3)});
    writer.AddItem(ItemWithDetails(many));
    writer.AddItem(ItemWithDetails({{"Only", "one"}}));
    CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
    ASSERT_TRUE(run.m_bCreated);
    run.PickRow(3);
    run.Command(ID_SHOW_DETAILS);
    std::vector<ROW> rows = DetailRows(run);
    ASSERT_EQ(rows.size(), 40u);
    EXPECT_EQ(rows[0].value.Width(), 385);
    EXPECT_EQ(WindowRectOf(Filler(run)).Width(), 0);
    EXPECT_TRUE(run.DetailsPanel().GetStyle() & WS_VSCROLL);
    run.DetailsPanel().ScrollToPosition(CPoint(0, 200));
    AfxPumpUntilIdle();
    run.Command(ID_NEXT);
    rows = DetailRows(run);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].value.top, 0);
    EXPECT_EQ(run.DetailsPanel().GetScrollOrigin(), CPoint(0, 0));
    EXPECT_EQ(rows[0].value.Width(), 405);
}

TEST(AboutBox, DarkensEveryEvenPixelAndTheCloseRestoresTheScreen) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 2));
    ASSERT_TRUE(run.m_bCreated);
    CHeadlessBackend& screen = run.Screen();
    // The grey line at y = 50 and the NEXT face: points of known colour, both parities.
    const CPoint probes[] = {{300, 50}, {301, 50}, {120, 570}, {121, 570}};
    COLORREF before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = screen.GetPixel(probes[i].x, probes[i].y);
    run.Click(700, 575); // ABOUT at (680, 566, 50, 20)
    ASSERT_FALSE(run.Dlg().IsWindowEnabled());
    // Outside the About box itself: the box covers the centre.
    for (int i = 0; i < 4; ++i) {
        const CPoint p = probes[i];
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        EXPECT_SCREEN_NEAR(screen, p.x, p.y, (p.x + p.y) % 2 == 0 ? RGB(10, 10, 10) : before[i]);
    }
    EXPECT_TRUE(AboutBoxShown(run));
    // The first click anywhere closes the box and reaches nothing else.
    run.Click(113 + 5, 566 + 5);
    EXPECT_EQ(run.View(), 'C');
    EXPECT_TRUE(run.Dlg().IsWindowEnabled());
    EXPECT_FALSE(AboutBoxShown(run));
    for (int i = 0; i < 4; ++i)
        EXPECT_SCREEN_NEAR(screen, probes[i].x, probes[i].y, before[i]);
}

TEST(Ending, ExitEnterAndEscapeEndTheProgramAndLeaveNoTemporaryFile) {
    struct {
        const char* what;
        int vk; // 0: click EXIT
        INT_PTR result;
    } cases[] = {{"EXIT", 0, -1}, {"Enter", VK_RETURN, IDOK}, {"Escape", VK_ESCAPE, IDCANCEL}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CScopedTempDir dir;
        const std::string path = WriteItems(dir, 10);
        CHeadlessBackend backend(1024, 768);
        AfxSetBackend(&backend);
        RegisterProgramResources();
        AfxSetModulePath(path.c_str());
        int nIdle = 0;
        {
            CViewerDlg dlg;
            backend.QueueClick(225 + 5, 650 + 5); // NEXT: thumbnails, eight pictures decoded
            backend.QueueClick(225 + 5, 650 + 5); // NEXT: the first item
            backend.SetIdleHandler([&] {
                ++nIdle;
                EXPECT_FALSE(dir.Files().empty());
                if (c.vk != 0)
                    backend.QueueKey(c.vk);
                else
                    backend.QueueClick(844 + 5, 650 + 5);
            });
            EXPECT_EQ(dlg.DoModal(), c.result);
            EXPECT_EQ(nIdle, 1);
        }
        EXPECT_TRUE(dir.Files().empty());
        AfxSetBackend(nullptr);
    }
}

} // namespace

namespace {

// Row heights that texts of 1, 2, 3 ... words wrap to in a value field, with a text for each.
std::map<int, CString> MeasureValueHeights() {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 1));
    XWrappingStatic probe;
    probe.Create(&run.DetailsPanel(), FALSE);
    std::map<int, CString> heights;
    for (int n = 1; n <= 120; n += 3) {
        probe.SetText(Words(n));
        heights.emplace(probe.GetWrappedHeight(359), Words(n));
    }
    probe.DestroyWindow();
    return heights;
}

// Texts whose rows (height + 1 each) add up to exactly `total`, or none.
std::vector<CString> RowsAddingUpTo(const std::map<int, CString>& heights, int total) {
    std::vector<int> from(total + 1, -1); // the row height that reached each sum
    from[0] = 0;
    for (int sum = 1; sum <= total; ++sum)
        for (const auto& h : heights)
            if (sum - (h.first + 1) >= 0 && from[sum - (h.first + 1)] >= 0)
                from[sum] = h.first;
    std::vector<CString> texts;
    if (from[total] < 0)
        return texts;
    for (int sum = total; sum > 0; sum -= from[sum] + 1)
        texts.push_back(heights.at(from[sum]));
    return texts;
}

TEST(DetailsView, RowsFillingThePanelExactlyFitAndOnePixelMoreScrolls) {
    const std::map<int, CString> heights = MeasureValueHeights();
    const int H = 460; // the panel's client height
    struct {
        int total;
        int nValueWidth;
        int nFillerHeight;
    } cases[] = {{H, 405, 1}, {H + 1, 385, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        const std::vector<CString> texts = RowsAddingUpTo(heights, c.total);
        if (texts.empty())
            GTEST_SKIP() << "no rows of these heights add up to " << c.total;
        std::vector<std::pair<const char*, CString>> details;
        for (const CString& text : texts)
            details.push_back({"Name", text});
        CScopedTempDir dir;
        CCollectionWriter writer;
        writer.AddItem(ItemWithDetails(details));
        CViewerHarness run(800, 600, WriteTestCollection(writer, dir));
        run.PickRow(3);
        run.Command(ID_SHOW_DETAILS);
        const std::vector<ROW> rows = DetailRows(run);
        ASSERT_EQ(rows.size(), texts.size());
        EXPECT_EQ(rows.back().value.bottom + 1, c.total);
        EXPECT_EQ(rows[0].value.Width(), c.nValueWidth);
        EXPECT_EQ(WindowRectOf(Filler(run)).Height(), c.nFillerHeight);
    }
}

} // namespace
