#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <expat.h>

#include "framework/core/String.h"
#include "framework/system/Resources.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

namespace {
class ProgramResourcesTest : public testing::Test {
protected:
    void SetUp() override { RegisterProgramResources(); }
};

std::string ResourceBytes(LPCSTR type, UINT id) {
    HRSRC res = FindResource(AfxGetResourceHandle(), MAKEINTRESOURCE(id), type);
    if (!res)
        return std::string();
    const void* data = LockResource(LoadResource(AfxGetResourceHandle(), res));
    return std::string(static_cast<const char*>(data), SizeofResource(AfxGetResourceHandle(), res));
}

uint32_t Le32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | (uint8_t)s.at(at + (size_t)i);
    return v;
}
uint16_t Le16(const std::string& s, size_t at) {
    return (uint16_t)((uint8_t)s.at(at) | (uint8_t)s.at(at + 1) << 8);
}
} // namespace

TEST_F(ProgramResourcesTest, EveryStringIdHasAText) {
    for (UINT id = 1; id <= IDS_LAST; ++id) {
        CString s;
        EXPECT_TRUE(s.LoadString(id)) << id;
        EXPECT_FALSE(s.IsEmpty()) << id;
    }
    CString next, nextOne;
    ASSERT_TRUE(next.LoadString(IDS_NEXT_THUMBNAILS));
    ASSERT_TRUE(nextOne.LoadString(IDS_NEXT_THUMBNAIL));
    // The thumbnail page formats these with one number and nothing else.
    for (const CString& format : {next, nextOne}) {
        const std::string text = format.Str();
        EXPECT_EQ(text.find('%'), text.rfind('%')) << text;
        EXPECT_NE(text.find("%d"), std::string::npos) << text;
    }
}

TEST_F(ProgramResourcesTest, MissingIdsFailCleanly) {
    for (UINT id : {0u, 44u, 129u, 213u, 0xFFFFu, 0x10000u}) {
        CString s("left over");
        EXPECT_FALSE(s.LoadString(id)) << id;
        EXPECT_TRUE(s.IsEmpty()) << id;
    }
    HMODULE module = AfxGetResourceHandle();
    EXPECT_NE(module, nullptr);
    // Wrong type, unknown id, a name where a number belongs, an unknown type name.
    EXPECT_EQ(FindResource(module, MAKEINTRESOURCE(IDC_HAND_CURSOR), RT_BITMAP), nullptr);
    EXPECT_EQ(FindResource(module, MAKEINTRESOURCE(999), RT_BITMAP), nullptr);
    EXPECT_EQ(FindResource(module, "IDB_ABOUT_ART", RT_BITMAP), nullptr);
    EXPECT_EQ(FindResource(module, MAKEINTRESOURCE(IDR_PARTNER_LAYOUT), "RT_HTML"), nullptr);
    EXPECT_EQ(FindResource(module, MAKEINTRESOURCE(IDR_PARTNER_LAYOUT), RT_STRING), nullptr);
    EXPECT_EQ(LoadResource(module, nullptr), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);
    EXPECT_EQ(SizeofResource(module, nullptr), 0u);
    EXPECT_EQ(AfxFindResource(nullptr, 1), nullptr);
}

TEST_F(ProgramResourcesTest, WithoutATableNothingIsFound) {
    AfxSetResourceTable(nullptr, 0);
    CString s;
    EXPECT_FALSE(s.LoadString(IDS_COMMENTS));
    EXPECT_EQ(AfxFindResource(RT_BITMAP, IDB_MAKER_LOGO), nullptr);
    RegisterProgramResources();
    EXPECT_TRUE(s.LoadString(IDS_COMMENTS));
}

TEST_F(ProgramResourcesTest, DialogTemplatesHaveTheirStylesAndSizes) {
    const DWORD popup = 0x80000000, child = 0x40000000, clipChildren = 0x02000000, setFont = 0x40;
    struct Case {
        UINT id;
        DWORD style;
        short cx, cy;
        int items;
    } cases[] = {
        {IDD_COMMENTS_PAGE, child | setFont, 548, 463, 4},
        {IDD_VIEWER, popup | clipChildren | setFont, 450, 279, 0},
        {IDD_THUMBNAILS_PAGE, child | clipChildren | setFont, 370, 188, 0},
        {IDD_THUMBNAIL_CELL, child | setFont, 236, 107, 0},
        {IDD_ABOUT_BOX, popup | setFont, 109, 189, 0},
    };
    for (const Case& c : cases) {
        const RESOURCE_ENTRY* entry = AfxFindResource(RT_DIALOG, c.id);
        ASSERT_NE(entry, nullptr) << c.id;
        const auto* t = static_cast<const DLGTEMPLATE_DATA*>(entry->data);
        EXPECT_EQ(t->style, c.style) << c.id;
        EXPECT_EQ(t->x, 0);
        EXPECT_EQ(t->y, 0);
        EXPECT_EQ(t->cx, c.cx) << c.id;
        EXPECT_EQ(t->cy, c.cy) << c.id;
        EXPECT_STREQ(t->faceName, "MS Sans Serif");
        EXPECT_EQ(t->pointSize, 8);
        EXPECT_EQ(t->itemCount, c.items) << c.id;
    }
}

TEST_F(ProgramResourcesTest, CommentsPageTemplateHasFourStatics) {
    const auto* t =
        static_cast<const DLGTEMPLATE_DATA*>(AfxFindResource(RT_DIALOG, IDD_COMMENTS_PAGE)->data);
    const DWORD style = 0x40000000 | 0x10000000 | 0x00020000; // child, visible, group; left-aligned
    const DLGITEMTEMPLATE_DATA expected[] = {
        {style, 20, 22, 67, 8, 1034, "Static", "created by :"},
        {style, 20, 34, 92, 8, 1037, "Static", "Static"},
        {style, 20, 55, 45, 8, 1035, "Static", "date created :"},
        {style, 20, 66, 113, 8, 1036, "Static", "Static"},
    };
    ASSERT_EQ(t->itemCount, 4);
    for (int i = 0; i < 4; ++i) {
        const DLGITEMTEMPLATE_DATA& a = t->items[i];
        const DLGITEMTEMPLATE_DATA& e = expected[i];
        EXPECT_EQ(a.id, e.id) << i;
        EXPECT_EQ(a.style, e.style) << i;
        EXPECT_EQ(a.x, e.x) << i;
        EXPECT_EQ(a.y, e.y) << i;
        EXPECT_EQ(a.cx, e.cx) << i;
        EXPECT_EQ(a.cy, e.cy) << i;
        EXPECT_STREQ(a.className, e.className) << i;
        EXPECT_STREQ(a.text, e.text) << i;
    }
}

TEST_F(ProgramResourcesTest, BitmapsAreWholeFilesOfTheirSizeAndDepth) {
    struct Case {
        UINT id;
        int32_t width, height;
        uint16_t bpp;
        uint32_t compression;
    } cases[] = {
        {IDB_MAKER_LOGO, 148, 42, 24, 0},
        {IDB_ABOUT_ART, 163, 305, 16, 3},
        {IDB_PARTNER_LOGO, 1, 1, 24, 0},
    };
    for (const Case& c : cases) {
        const std::string bmp = ResourceBytes(RT_BITMAP, c.id);
        ASSERT_GT(bmp.size(), 54u) << c.id;
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(Le32(bmp, 2), bmp.size()) << c.id;
        EXPECT_EQ(Le32(bmp, 14), 40u);
        EXPECT_EQ((int32_t)Le32(bmp, 18), c.width) << c.id;
        EXPECT_EQ((int32_t)Le32(bmp, 22), c.height) << c.id;
        EXPECT_EQ(Le16(bmp, 26), 1);
        EXPECT_EQ(Le16(bmp, 28), c.bpp) << c.id;
        EXPECT_EQ(Le32(bmp, 30), c.compression) << c.id;
        const uint32_t stride = ((uint32_t)c.width * c.bpp / 8 + 3) & ~3u;
        EXPECT_EQ(bmp.size() - Le32(bmp, 10), stride * (uint32_t)c.height) << c.id;
    }
    const std::string about = ResourceBytes(RT_BITMAP, IDB_ABOUT_ART);
    EXPECT_EQ(Le32(about, 54), 0xF800u);
    EXPECT_EQ(Le32(about, 58), 0x07E0u);
    EXPECT_EQ(Le32(about, 62), 0x001Fu);
    EXPECT_EQ(Le32(about, 10), 66u);
}

TEST_F(ProgramResourcesTest, CursorIsOneMonochromeHandWithItsHotSpot) {
    const std::string cur = ResourceBytes(RT_GROUP_CURSOR, IDC_HAND_CURSOR);
    ASSERT_GE(cur.size(), 22u + 40u + 8u + 256u);
    EXPECT_EQ(Le16(cur, 0), 0);
    EXPECT_EQ(Le16(cur, 2), 2); // cursor file
    EXPECT_EQ(Le16(cur, 4), 1); // one image
    EXPECT_EQ((uint8_t)cur[6], 32);
    EXPECT_EQ((uint8_t)cur[7], 32);
    EXPECT_EQ(Le16(cur, 10), 6); // hot spot x
    EXPECT_EQ(Le16(cur, 12), 0); // hot spot y
    const uint32_t offset = Le32(cur, 18);
    EXPECT_EQ(Le32(cur, 14), cur.size() - offset);
    EXPECT_EQ(Le32(cur, offset + 4), 32u);
    EXPECT_EQ(Le32(cur, offset + 8), 64u); // image and mask
    EXPECT_EQ(Le16(cur, offset + 14), 1);
    // The hot spot lies on the hand: the mask's top row (stored last) is opaque at x = 6.
    const size_t andTopRow = cur.size() - 4;
    EXPECT_EQ(((uint8_t)cur[andTopRow] >> (7 - 6)) & 1, 0);
}

TEST_F(ProgramResourcesTest, IconIsOneSixteenColourImage) {
    const std::string ico = ResourceBytes(RT_GROUP_ICON, IDI_APP_ICON);
    ASSERT_GE(ico.size(), 22u + 40u);
    EXPECT_EQ(Le16(ico, 2), 1); // icon file
    EXPECT_EQ(Le16(ico, 4), 1);
    EXPECT_EQ((uint8_t)ico[6], 32);
    EXPECT_EQ((uint8_t)ico[7], 32);
    EXPECT_EQ((uint8_t)ico[8], 16);
    const uint32_t offset = Le32(ico, 18);
    EXPECT_EQ(Le32(ico, 14), ico.size() - offset);
    EXPECT_EQ(Le16(ico, offset + 14), 4);
    EXPECT_EQ(ico.size() - offset, 40u + 16 * 4 + 512 + 128);
}

TEST_F(ProgramResourcesTest, PartnerLayoutIsAWellFormedLatin1Document) {
    const RESOURCE_ENTRY* entry = AfxFindResource(RT_XML_NAME, IDR_PARTNER_LAYOUT);
    ASSERT_NE(entry, nullptr);
    const std::string xml(static_cast<const char*>(entry->data), entry->size);
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n", 0), 0u);
    for (size_t at = xml.find('\n'); at != std::string::npos; at = xml.find('\n', at + 1))
        EXPECT_EQ(xml.at(at - 1), '\r') << "line feed at " << at;
    XML_Parser parser = XML_ParserCreate(nullptr);
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(XML_Parse(parser, xml.data(), (int)xml.size(), 1), XML_STATUS_OK)
        << XML_ErrorString(XML_GetErrorCode(parser)) << " at line "
        << XML_GetCurrentLineNumber(parser);
    XML_ParserFree(parser);
    // The partner's address is the maker's own: the host of string 4 with scheme and slash.
    CString host;
    ASSERT_TRUE(host.LoadString(IDS_MAKER_WEB_ADDRESS));
    EXPECT_NE(xml.find("url=\"https://" + host.Str() + "/\""), std::string::npos);
    // Also through the by-name lookup the layout reader uses.
    EXPECT_EQ(ResourceBytes(RT_XML_NAME, IDR_PARTNER_LAYOUT), xml);
}

TEST_F(ProgramResourcesTest, VersionBlockIdentifiesTheProduct) {
    const RESOURCE_ENTRY* entry = AfxFindResource(RT_VERSION, IDR_VERSION);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->size, sizeof(VERSION_DATA));
    const auto* v = static_cast<const VERSION_DATA*>(entry->data);
    EXPECT_GT(v->fileVersion[0], 0);
    EXPECT_EQ(std::vector<WORD>(v->fileVersion, v->fileVersion + 4),
              std::vector<WORD>(v->productVersion, v->productVersion + 4));
    ASSERT_NE(v->fileDescription, nullptr);
    ASSERT_NE(v->productName, nullptr);
    EXPECT_GT(std::strlen(v->fileDescription), 0u);
    EXPECT_GT(std::strlen(v->productName), 0u);
}
