// The Comments page on its own, inside a window that holds a collection.
#include "branding/PartnerLayout.h"
#include "framework/window/MessageLoop.h"
#include "framework/window/Static.h"
#include "pages/CommentsPage.h"
#include "pages/page_fixture.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

namespace {

class CommentsPageTest : public ::testing::Test {
protected:
    void Open(const ITEM_RECORD& first) {
        CCollectionWriter writer;
        writer.AddItem(first);
        const std::string path = WriteTestCollection(writer, m_dir);
        AfxSetBackend(&m_backend);
        RegisterProgramResources();
        CPartnerLayout::Create();
        ASSERT_TRUE(m_host.m_collection.Open(path.c_str()));
        ASSERT_TRUE(m_host.Create(IDD_VIEWER, nullptr));
        m_host.MoveWindow(0, 0, 800, 600);
        ASSERT_TRUE(m_page.Create(IDD_COMMENTS_PAGE, &m_host));
        m_page.MoveWindow(0, 68, 800, 475);
        m_host.ShowWindow(SW_SHOW);
        m_page.ShowWindow(SW_SHOW);
        AfxPumpUntilIdle();
    }
    // The first record of MakeTestItem under a partner layout read from the text.
    void OpenWithLayout(const char* pszLayout) {
        RegisterProgramResources();
        CPartnerLayout::Create();
        CPartnerLayout::ReadDocument(pszLayout, (int)strlen(pszLayout));
        Open(MakeTestItem(0, RGB(1, 2, 3)));
    }
    void TearDown() override {
        m_host.DestroyWindow();
        CPartnerLayout::Destroy();
        AfxSetBackend(nullptr);
    }
    void CheckScrolling(int nWords, bool bScrolls) {
        ITEM_RECORD first = MakeTestItem(0, RGB(1, 2, 3));
        first.m_strComments = "";
        for (int i = 0; i < nWords; ++i)
            first.m_strComments += "comment ";
        Open(first);
        CRect text;
        m_page.GetCommentsText().GetWindowRect(&text);
        EXPECT_EQ(text.Height() > 458, bScrolls);
        EXPECT_EQ((m_page.GetCommentsPanel().GetStyle() & WS_VSCROLL) != 0, bScrolls);
    }
    CString TextOf(int nID) {
        CString s;
        if (CWnd* p = m_page.GetDlgItem(nID))
            p->GetWindowText(s);
        return s;
    }

    CScopedTempDir m_dir;
    CHeadlessBackend m_backend{800, 600};
    CCollectionHost m_host;
    CCommentsPage m_page;
};

TEST_F(CommentsPageTest, ShowsTheFirstRecordsAuthorDateTitleAndComments) {
    ITEM_RECORD first = MakeTestItem(0, RGB(1, 2, 3));
    first.m_strCreatedBy = "Mireille \xC3\x85ngstr\xC3\xB6m";
    first.m_strCollectionTitle = "Atlas";
    Open(first);
    EXPECT_EQ(TextOf(IDC_CREATED_BY), first.m_strCreatedBy);
    EXPECT_EQ(TextOf(IDC_DATE_CREATED), first.m_strDateCreated);
    EXPECT_EQ(TextOf(IDC_CREATED_BY_LABEL), CString("created by :"));
    EXPECT_EQ(TextOf(IDC_DATE_CREATED_LABEL), CString("date created :"));
    EXPECT_EQ(m_page.m_strTitle, CString("Atlas"));
    CString comments;
    m_page.GetCommentsText().GetWindowText(comments);
    CRect panel;
    m_page.GetCommentsPanel().GetWindowRect(&panel);
    EXPECT_EQ(panel, CRect(220, 68 + 4, 780, 68 + 462));
    // The lines at rows 50 and 102, from x 0 to 204; the two grey frames.
    EXPECT_SCREEN_NEAR(m_backend, 204, 68 + 50, RGB(51, 51, 51));
    EXPECT_SCREEN_NEAR(m_backend, 205, 68 + 50, RGB(0, 0, 0));
    EXPECT_SCREEN_NEAR(m_backend, 100, 68 + 102, RGB(51, 51, 51));
    EXPECT_NE(m_backend.GetPixel(216, 68 + 200), RGB(0, 0, 0));
    EXPECT_NE(m_backend.GetPixel(219, 68 + 200), RGB(0, 0, 0));
    // The shipped layout names the maker as the partner: no logo.
    EXPECT_EQ(m_page.GetLogoLink().GetSafeHwnd(), nullptr);
}

TEST_F(CommentsPageTest, APartnerLayoutWithoutALogoRegionShowsNoLogo) {
    OpenWithLayout("<l><partner name='Other' url='http://p/'/></l>");
    ASSERT_NE(m_page.GetLogoLink().GetSafeHwnd(), nullptr);
    CRect rc;
    m_page.GetLogoLink().GetWindowRect(&rc);
    EXPECT_TRUE(rc.IsRectEmpty()) << rc.Width() << " x " << rc.Height() << " at " << rc.left << ", "
                                  << rc.top;
}

TEST_F(CommentsPageTest, APartnerLogoStandsAtItsRegionsCorner) {
    OpenWithLayout("<l><partner name='Other' url='http://p/'><region id='logo'>"
                   "<position type='left'>30</position><position type='top'>40</position>"
                   "<position type='right'>90</position><position type='bottom'>60</position>"
                   "</region></partner></l>");
    CRect rc;
    m_page.GetLogoLink().GetWindowRect(&rc);
    // The bitmap static takes its bitmap's size (the placeholder is one pixel).
    EXPECT_EQ(rc, CRect(30, 68 + 40, 31, 68 + 41));
}

TEST_F(CommentsPageTest, ShortCommentsDoNotScroll) {
    CheckScrolling(10, false);
}

TEST_F(CommentsPageTest, LongCommentsScrollInsideThePanel) {
    CheckScrolling(3000, true);
}

} // namespace
