#include <gtest/gtest.h>

#include "branding/PartnerLayout.h"
#include "framework/core/String.h"
#include "res/ProgramResources.h"

namespace {

class PartnerLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        CPartnerLayout::Destroy();
        g_strPartnerName.Empty();
        g_strPartnerUrl.Empty();
    }
    void TearDown() override { CPartnerLayout::Destroy(); }

    static void Read(const char* psz) { CPartnerLayout::ReadDocument(psz, (int)strlen(psz)); }
};

TEST_F(PartnerLayoutTest, ShippedLayoutNamesTheMakerAndOnlyTheProductBand) {
    RegisterProgramResources();
    CPartnerLayout::Create();

    CString strMaker;
    ASSERT_TRUE(strMaker.LoadString(7));
    EXPECT_EQ(g_strPartnerName, strMaker);
    EXPECT_EQ(g_strPartnerName, "Tessarel");
    EXPECT_TRUE(g_strPartnerUrl.Find("://") > 0);
    EXPECT_EQ(g_strPartnerUrl.Right(1), "/");

    EXPECT_EQ(GetPosition(REGION_ABOUT_STASHWELL, POS_BOTTOM), 73);
    for (int nType : {POS_TOP, POS_LEFT, POS_RIGHT})
        EXPECT_EQ(GetPosition(REGION_ABOUT_STASHWELL, nType), 0);
    for (int nType : {POS_TOP, POS_LEFT, POS_RIGHT, POS_BOTTOM}) {
        EXPECT_EQ(GetPosition(REGION_ABOUT_PARTNER, nType), 0);
        EXPECT_EQ(GetPosition(REGION_LOGO, nType), 0);
    }
}

TEST_F(PartnerLayoutTest, SecondCreateReadsNothing) {
    RegisterProgramResources();
    CPartnerLayout::Create();
    const size_t nRegions = g_regions.size();
    g_strPartnerName = "changed";
    CPartnerLayout::Create();
    EXPECT_EQ(g_regions.size(), nRegions);
    EXPECT_EQ(g_strPartnerName, "changed");
}

TEST_F(PartnerLayoutTest, RegionsWithTheSameIdMergeOnlyWhenConsecutive) {
    Read("<l><partner name='P' url='u'>"
         "<region id='logo'><position type='left'>5</position></region>"
         "<region id='logo'><position type='top'>6</position></region>"
         "<region id='about_partner'><position type='top'>7</position></region>"
         "<region id='logo'><position type='right'>8</position></region>"
         "</partner></l>");
    ASSERT_EQ(g_regions.size(), 3u);
    EXPECT_EQ(GetPosition(REGION_LOGO, POS_LEFT), 5);
    EXPECT_EQ(GetPosition(REGION_LOGO, POS_TOP), 6);
    // The third "logo" region exists but lookups stop at the first one.
    EXPECT_EQ(GetPosition(REGION_LOGO, POS_RIGHT), 0);
    EXPECT_EQ(GetPosition(REGION_ABOUT_PARTNER, POS_TOP), 7);
}

TEST_F(PartnerLayoutTest, PositionTypesAndValuesFollowTheOldReadingRules) {
    Read("<l><region id='about_partner'>"
         "<position>1</position>"                 // no type yet: top
         "<position type='left'> 12px</position>" // leading blank skipped, digits up to 'p'
         "<position type='width'>3</position>"    // unknown type: keeps left
         "<position type='bottom'>abc</position>" // not a number
         "<position type='right'>-4</position>"
         "</region></l>");
    ASSERT_EQ(g_regions.size(), 1u);
    const std::vector<CRegionPosition>& positions = g_regions[0].m_positions;
    ASSERT_EQ(positions.size(), 5u);
    const int expected[][2] = {
        {POS_TOP, 1}, {POS_LEFT, 12}, {POS_LEFT, 3}, {POS_BOTTOM, 0}, {POS_RIGHT, -4}};
    for (size_t i = 0; i < positions.size(); ++i) {
        EXPECT_EQ(positions[i].m_nType, expected[i][0]) << i;
        EXPECT_EQ(positions[i].m_nValue, expected[i][1]) << i;
    }
    EXPECT_EQ(GetPosition(REGION_ABOUT_PARTNER, POS_LEFT), 12);
}

TEST_F(PartnerLayoutTest, UnknownRegionsJoinTheLastRegionAndEarlyPositionsAreDropped) {
    Read("<l><position type='top'>9</position>"
         "<region id='nowhere'><position type='top'>1</position></region>"
         "<region id='about_stashwell'><position type='top'>2</position></region>"
         "<region id='nowhere'><position type='left'>3</position></region></l>");
    ASSERT_EQ(g_regions.size(), 1u);
    EXPECT_EQ(g_regions[0].m_positions.size(), 2u);
    EXPECT_EQ(GetPosition(REGION_ABOUT_STASHWELL, POS_TOP), 2);
    EXPECT_EQ(GetPosition(REGION_ABOUT_STASHWELL, POS_LEFT), 3);
}

TEST_F(PartnerLayoutTest, OneScanKnowsBothNamesSoValuesAreNeverTakenForNames) {
    struct {
        const char* document;
        const char* name;
        const char* url;
    } cases[] = {
        {"<l><partner url='name' name='Real'/></l>", "Real", "name"},
        {"<l><partner name='url' url='http://p/'/></l>", "url", "http://p/"},
        {"<l><partner id='X' name='Other' url='u'/></l>", "Other", "u"},
    };
    for (const auto& c : cases) {
        CPartnerLayout::Destroy();
        g_strPartnerName.Empty();
        g_strPartnerUrl.Empty();
        Read(c.document);
        EXPECT_EQ(g_strPartnerName, c.name) << c.document;
        EXPECT_EQ(g_strPartnerUrl, c.url) << c.document;
    }
}

TEST_F(PartnerLayoutTest, MalformedDocumentKeepsWhatWasReadBeforeTheError) {
    Read("<l><partner name='Other' url='http://p/'><region id='logo'>"
         "<position type='left'>4</position><position type='top'>5</pos");
    EXPECT_EQ(g_strPartnerName, "Other");
    EXPECT_EQ(GetPosition(REGION_LOGO, POS_LEFT), 4);
    EXPECT_EQ(GetPosition(REGION_LOGO, POS_TOP), 0);
}

TEST_F(PartnerLayoutTest, Latin1TextArrivesAsUtf8) {
    Read("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><l><partner name='Caf\xe9'/></l>");
    EXPECT_EQ(g_strPartnerName, "Caf\xc3\xa9");
}

} // namespace
