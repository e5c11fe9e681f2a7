// The About box over a full-screen owner on the in-memory screen: its bands with strict edges,
// the cursor, the version line, and every way it closes.
#include "FakeDesktop.h"
#include "branding/AboutBox.h"
#include "branding/PartnerLayout.h"
#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/window/MessageLoop.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

namespace {

// Stands in for the main window: knows the header and counts its paints.
class COwnerWindow : public CDialog, public CAboutBoxOwner {
public:
    CString GetCollectionHeader() const override { return m_strHeader; }
    CString m_strHeader = "1.0";
    int m_nPaints = 0;

protected:
    void OnPaint() override { ++m_nPaints, CDialog::OnPaint(); }
};

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxSetBackend(&m_backend);
        RegisterProgramResources();
        CPartnerLayout::Destroy();
        CPartnerLayout::Create();
        m_desktop.AddProgram("xdg-open", 0);
        CString maker;
        maker.LoadString(IDS_MAKER_WEB_ADDRESS);
        // The maker's address has no scheme: it reaches the opener as a web address.
        m_strMakerLine = "xdg-open [https://" + maker.Str() + "]\n";
    }
    void TearDown() override {
        m_about.DestroyWindow();
        m_owner.DestroyWindow();
        CPartnerLayout::Destroy();
        AfxSetBackend(nullptr);
    }
    // As the main window does it: the box made hidden once, centred on the full-screen owner.
    void CreateWindows() {
        ASSERT_TRUE(m_owner.Create(IDD_VIEWER, nullptr));
        m_owner.MoveWindow(0, 0, 800, 600);
        m_owner.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_about.Create(IDD_ABOUT_BOX, &m_owner));
        m_about.CenterWindow();
        AfxPumpUntilIdle();
    }
    void ShowBox() {
        m_about.ShowWindow(SW_SHOWNORMAL);
        m_owner.EnableWindow(FALSE);
        AfxPumpUntilIdle();
        ASSERT_EQ(CWnd::GetCapture(), &m_about);
    }
    void Click(int x, int y) { // box client point
        m_backend.QueueClick(ORIGIN.x + x, ORIGIN.y + y);
        AfxPumpUntilIdle();
    }

    const CPoint ORIGIN{318, 146}; // (800 − 164) / 2, (600 − 307) / 2
    CHeadlessBackend m_backend{800, 600};
    FakeDesktop m_desktop;
    std::string m_strMakerLine;
    COwnerWindow m_owner;
    CAboutBox m_about;
};

} // namespace

TEST_F(AboutBoxTest, HandCursorOnlyStrictlyInsideTheShippedBand) {
    CreateWindows();
    CRect rc;
    m_about.GetWindowRect(rc);
    EXPECT_EQ(rc, CRect(ORIGIN, CSize(164, 307)));
    ShowBox();
    struct Case {
        int x, y;
        bool hand;
    } cases[] = {{1, 1, true},    {163, 72, true},  {0, 36, false},    {80, 0, false},
                 {80, 73, false}, {164, 36, false}, {-100, 30, false}, {80, 36, true}};
    for (const Case& c : cases) {
        m_backend.QueueMove(ORIGIN.x + c.x, ORIGIN.y + c.y);
        AfxPumpUntilIdle();
        const BackendImage* cursor = m_backend.GetCursor();
        EXPECT_EQ(cursor != nullptr && cursor->hotX == 6 && cursor->hotY == 0, c.hand)
            << c.x << "," << c.y;
    }
}

TEST_F(AboutBoxTest, EveryClickEnterAndEscapeCloseItAndGiveTheOwnerBack) {
    CreateWindows();
    struct Case {
        int x, y, vk;
        bool opens;
    } cases[] = {{80, 36, 0, true},       {80, 73, 0, false},    {0, 36, 0, false},
                 {80, 0, 0, false},       {-200, 100, 0, false}, {0, 0, VK_ESCAPE, false},
                 {0, 0, VK_RETURN, false}};
    for (const Case& c : cases) {
        ShowBox();
        const std::string before = m_desktop.Log();
        const int nPaints = m_owner.m_nPaints;
        if (c.vk)
            m_backend.QueueKey(c.vk), AfxPumpUntilIdle();
        else
            Click(c.x, c.y);
        EXPECT_EQ(m_desktop.Log().substr(before.size()), c.opens ? m_strMakerLine : "")
            << c.x << "," << c.y << " key " << c.vk;
        EXPECT_FALSE(m_about.IsWindowVisible());
        EXPECT_TRUE(m_owner.IsWindowEnabled());
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        EXPECT_GT(m_owner.m_nPaints, nPaints);
    }
}

TEST_F(AboutBoxTest, OverlappingBandsOpenBothAddressesMakersFirst) {
    const char* layout = "<positions_list><partner name=\"P\" url=\"http://p.example/\">"
                         "<region id=\"about_stashwell\"><position type=\"bottom\">73</position>"
                         "</region><region id=\"about_partner\"><position type=\"top\">40"
                         "</position><position type=\"left\">20</position><position "
                         "type=\"bottom\">120</position></region></partner></positions_list>";
    CPartnerLayout::Destroy();
    CPartnerLayout::ReadDocument(layout, (int)strlen(layout));
    CreateWindows();
    const std::string partnerLine = "xdg-open [http://p.example/]\n";
    const std::pair<CPoint, std::string> cases[] = {{{30, 50}, m_strMakerLine + partnerLine},
                                                    {{30, 100}, partnerLine},
                                                    {{10, 50}, m_strMakerLine}};
    for (const auto& [point, lines] : cases) {
        ShowBox();
        const std::string before = m_desktop.Log();
        Click(point.x, point.y);
        EXPECT_EQ(m_desktop.Log().substr(before.size()), lines) << point.x << "," << point.y;
    }
}

TEST_F(AboutBoxTest, VersionLineFollowsTheHeaderOverTheArtwork) {
    CreateWindows();
    auto versionLine = [&] {
        std::vector<COLORREF> pixels;
        for (int y = 235; y < 250; ++y)
            for (int x = 38; x < 150; ++x)
                pixels.push_back(m_backend.GetPixel(ORIGIN.x + x, ORIGIN.y + y));
        return pixels;
    };
    ShowBox();
    const std::vector<COLORREF> first = versionLine();
    // White text: anti-aliased stems may not cover a whole pixel, so near-white counts.
    EXPECT_NE(std::count_if(first.begin(), first.end(),
                            [](COLORREF c) {
                                return GetRValue(c) > 200 && GetGValue(c) > 200 &&
                                       GetBValue(c) > 200;
                            }),
              0);
    EXPECT_EQ(m_backend.GetPixel(ORIGIN.x + 163, ORIGIN.y + 100), RGB(0, 0, 0)); // right of the art
    m_backend.QueueKey(VK_ESCAPE);
    AfxPumpUntilIdle();
    m_owner.m_strHeader = "2.345 wider";
    ShowBox();
    EXPECT_NE(versionLine(), first);
}
