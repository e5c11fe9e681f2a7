#include <memory>

#include "PackFixture.h"
#include "data/CollectionFile.h"
#include "support/TestFixtures.h"
#include "tools/pack/CatalogueJson.h"
#include "tools/pack/CollectionPacker.h"
#include "tools/pack/CsvCatalogue.h"
#include "tools/pack/FolderSource.h"
#include "tools/pack/PackCommands.h"
#include "tools/pack/ViewerFileReader.h"

namespace {
struct LOADED_ITEM {
    CString name, line1, line2, field2, comments, title, date, creator;
    std::vector<std::pair<std::string, std::string>> details;
    int width = 0, height = 0; // 0 without a picture
    bool bPlaceholder = false;
};

// Every item as the viewer's own data layer reads it.
std::vector<LOADED_ITEM> LoadWithViewer(const std::string& path, CString* pHeader = nullptr) {
    CCollectionFile file;
    EXPECT_EQ(file.Open(path.c_str()), 1);
    if (pHeader)
        *pHeader = file.GetHeader();
    std::vector<LOADED_ITEM> items;
    for (int i = 0; i < file.GetItemCount(); ++i) {
        std::unique_ptr<CCollectionItem> item(file.LoadItem(i));
        LOADED_ITEM out{item->m_strName,
                        item->m_strLine1,
                        item->m_strLine2,
                        item->m_strField2,
                        item->m_strComments,
                        item->m_strCollectionTitle,
                        item->m_strDateCreated,
                        item->m_strCreatedBy,
                        {},
                        0,
                        0,
                        false};
        for (int d = 0; d < item->GetDetailCount(); ++d) {
            CString name, value;
            item->GetDetail(d, name, value);
            out.details.emplace_back(name.Str(), value.Str());
        }
        if (CItemPicture* picture = item->GetPicture()) {
            BITMAP bm{};
            picture->GetBitmap(&bm);
            out.width = bm.bmWidth;
            out.height = bm.bmHeight;
        }
        CImageList list;
        out.bPlaceholder = item->CopyImageList(&list) != 0;
        items.push_back(out);
    }
    return items;
}

void Pack(const PACK_CATALOGUE& catalogue, const std::string& viewer, const std::string& output) {
    CCollectionPacker(catalogue).Pack(viewer, output, false);
}
} // namespace

class PackBuildTest : public PackFixture {};

TEST_F(PackBuildTest, FolderBecomesItemsInNameOrderWithItsSettings) {
    Jpeg("f/b-second.jpg", 4, 3);
    Png("f/a-first.png", 3, 5);
    Jpeg("f/c-third.JPG", 1, 1);
    WriteText(Path("f/notes.txt"), "not a picture, not an item");
    WriteText(Path("f/collection.json"), R"({
        "version": "2.0", "title": "Title", "created_by": "Zoë", "date_created": "today",
        "comments": "Long comments",
        "pictures": {"b-second.jpg": {"name": "Café", "line1": "L1", "details": [["Metal", "Gold"], {"name": "Year", "value": "1901"}]}},
        "items_without_picture": [{"name": "日本", "line1": "gone", "line2": "missing"}]})");
    Pack(CFolderSource::Load(Path("f")), m_viewer, Path("out"));

    CString header;
    const std::vector<LOADED_ITEM> items = LoadWithViewer(Path("out"), &header);
    EXPECT_EQ(header, "2.0");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].name, "a first");
    EXPECT_EQ(items[0].width, 3);
    EXPECT_EQ(items[0].height, 5);
    EXPECT_EQ(items[0].title, "Title");
    EXPECT_EQ(items[0].creator, "Zoë");
    EXPECT_EQ(items[0].date, "today");
    EXPECT_EQ(items[0].comments, "Long comments");
    EXPECT_EQ(items[1].name, "Café");
    EXPECT_EQ(items[1].line1, "L1");
    EXPECT_TRUE(items[1].title.IsEmpty());
    const std::vector<std::pair<std::string, std::string>> details = {{"Metal", "Gold"},
                                                                      {"Year", "1901"}};
    EXPECT_EQ(items[1].details, details);
    EXPECT_EQ(items[1].width, 4);
    EXPECT_EQ(items[2].name, "c third");
    EXPECT_EQ(items[3].name, "日本");
    EXPECT_EQ(items[3].width, 0);
    EXPECT_TRUE(items[3].bPlaceholder);
    EXPECT_EQ(items[3].line2, "missing");
    // The viewer starts with the collection's bytes appended to it.
    EXPECT_EQ(ReadAll(Path("out")).compare(0, ReadAll(m_viewer).size(), ReadAll(m_viewer)), 0);
}

TEST_F(PackBuildTest, CatalogueAndCsvGiveTheSameCollection) {
    Jpeg("pics/one.jpg", 8, 6);
    CPictureFile::WritePng(RGBA_IMAGE{2, 2, {0, 0xFF00FF00u, 0x80FF0000u, 0xFFFFFFFFu}},
                           Path("mark.png"));
    WriteText(Path("c.json"), R"({"items": [
        {"name": "One, \"quoted\"", "line1": "a", "line2": "b", "picture": "pics/one.jpg",
         "details": [{"name": "Size", "value": "big"}, {"name": "Note", "value": "two\r\nlines"}]},
        {"name": "Two", "line1": "c", "line2": "d", "placeholder": "mark.png", "details": [{"name": "Size", "value": ""}, {"name": "Note", "value": "x"}]}]})");
    WriteText(Path("c.csv"), "Name,Size,Caption 1,Picture,Line2,Note\r\n"
                             "\"One, \"\"quoted\"\"\",big,a,pics/one.jpg,b,\"two\r\nlines\"\r\n"
                             "Two,,c,,d,x\r\n");
    PACK_CATALOGUE fromJson = CCatalogueJson::Load(Path("c.json"));
    const PACK_CATALOGUE fromCsv = CCsvCatalogue::Load(Path("c.csv"));
    Pack(fromJson, m_viewer, Path("json.out"));
    Pack(fromCsv, m_viewer, Path("csv.out"));
    const std::vector<LOADED_ITEM> a = LoadWithViewer(Path("json.out"));
    const std::vector<LOADED_ITEM> b = LoadWithViewer(Path("csv.out"));
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(a[i].name, b[i].name);
        EXPECT_EQ(a[i].line1, b[i].line1);
        EXPECT_EQ(a[i].line2, b[i].line2);
        EXPECT_EQ(a[i].details, b[i].details);
        EXPECT_EQ(a[i].width, b[i].width);
    }
    EXPECT_EQ(a[0].name, "One, \"quoted\"");
    EXPECT_EQ(a[0].details[1].second, "two\r\nlines");
    EXPECT_EQ(a[0].width, 8);
    EXPECT_TRUE(a[1].bPlaceholder);
    // Only the placeholders differ: the catalogue's own image against the built-in one.
    CViewerFileReader json(Path("json.out")), csv(Path("csv.out"));
    EXPECT_EQ(json.ReadItem(1).imageList.cx, 2);
    EXPECT_EQ(csv.ReadItem(1).imageList.cx, 32);
}

TEST_F(PackBuildTest, ExtractThenBuildGivesTheSameBytes) {
    Jpeg("f/p1.jpg", 16, 9);
    Png("f/p2.png", 5, 5);
    CPictureFile::WritePng(RGBA_IMAGE{1, 2, {0xFF102030u, 0}}, Path("mask.png"));
    WriteText(Path("f/collection.json"), R"({"title": "T", "comments": "C",
        "pictures": {"p2.png": {"name": "Ελλάδα", "hidden_text": "third", "comments": "own", "title": "own title"}},
        "items_without_picture": [{"name": "none"}, {"name": "masked", "placeholder": "../mask.png"}]})");
    Pack(CFolderSource::Load(Path("f")), m_viewer, Path("first"));
    ASSERT_EQ(CPackCommands::Extract(Path("first"), Path("unpacked")), 0);
    Pack(CCatalogueJson::Load(Path("unpacked/catalogue.json")), m_viewer, Path("second"));
    EXPECT_EQ(ReadAll(Path("first")), ReadAll(Path("second")));
    // The built-in placeholder is not written out; the catalogue's own one is.
    EXPECT_EQ(CountFiles("placeholder.png"), 1);
}

TEST_F(PackBuildTest, TextIsOneByteWhereItCanBe) {
    WriteText(Path("c.json"), R"({"items": [{"name": "Café"}, {"name": "Ελλάδα"}]})");
    Pack(CCatalogueJson::Load(Path("c.json")), m_viewer, Path("out"));
    const std::string bytes = ReadAll(Path("out"));
    EXPECT_NE(bytes.find("\x04"
                         "Caf\xE9"),
              std::string::npos);
    EXPECT_NE(bytes.find("\xFF\xFE\xFF\x06\x95\x03\xbb\x03"), std::string::npos); // UTF-16 "Ελ..."
    const std::vector<LOADED_ITEM> items = LoadWithViewer(Path("out"));
    EXPECT_EQ(items[0].name, "Café");
    EXPECT_EQ(items[1].name, "Ελλάδα");
}

TEST_F(PackBuildTest, RefusedInputsLeaveNoOutput) {
    Jpeg("good.jpg", 200, 200);
    const std::string jpeg = ReadAll(Path("good.jpg"));
    WriteText(Path("text.jpg"), "plain text, not a picture");
    WriteText(Path("garbage.jpg"), "\xFF\xD8\xFF\xE0 broken header bytes");
    WriteText(Path("cut.jpg"), jpeg.substr(0, jpeg.size() - 50));
    WriteText(Path("broken.png"), "\x89PNG\r\n\x1a\n not really");
    WriteText(Path("big.bmp"), "BM not a bitmap");
    // A progressive JPEG whose first scan asks for a band that a first scan cannot have: its
    // header reads, turning it fails.
    std::vector<BYTE> badScan = MakeJpeg(
        16, 16, [](int x, int y) { return x < 8 ? 0xFF0000u : y * 9u; }, JPEG_RGB, true);
    for (size_t i = 0; i + 9 < badScan.size(); ++i)
        if (badScan[i] == 0xFF && badScan[i + 1] == 0xDA) {
            badScan[i + 5 + 2 * badScan[i + 4] + 1] = 5; // Se of a DC scan must be 0
            break;
        }
    WriteText(Path("badscan.jpg"), std::string(badScan.begin(), badScan.end()));
    struct Case {
        std::string json;
        std::string message;
    } cases[] = {
        {R"({"items": [{"name": "a", "picture": "good.jpg"}, {"name": "b", "picture": "missing.jpg"}]})",
         "missing.jpg: cannot open"},
        {R"({"items": [{"name": "a", "picture": "text.jpg"}]})", "text.jpg: not a JPEG or PNG"},
        {R"({"items": [{"name": "a", "picture": "garbage.jpg"}]})",
         "garbage.jpg: not a JPEG that libjpeg can read"},
        {R"({"items": [{"name": "a", "picture": "cut.jpg"}]})",
         "cut.jpg: the JPEG data is cut short"},
        {R"({"items": [{"name": "a", "picture": "badscan.jpg"}]})",
         "badscan.jpg: cannot turn the picture"},
        {R"({"items": [{"name": "a", "picture": "broken.png"}]})",
         "broken.png: not a PNG that libpng can read"},
        {R"({"items": [{"name": "a", "placeholder": "big.bmp"}]})", "big.bmp: not a BMP file"},
        {R"({"items": [{"name": "a", "picture": "."}]})", "not a regular file"},
        {R"({"items": []})", "the collection has no items"},
    };
    for (const Case& c : cases) {
        WriteText(Path("c.json"), c.json);
        try {
            Pack(CCatalogueJson::Load(Path("c.json")), m_viewer, Path("out"));
            ADD_FAILURE() << c.json;
        } catch (const CPackError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("item"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(Path("out"))) << c.json;
        EXPECT_EQ(CountFiles(".partial-"), 0) << c.json;
    }
}

TEST_F(PackBuildTest, UnusableSourcesAreNamed) {
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"{\"items\": [", "c.json: not valid JSON"},
        {"{\"items\": {}}", "\"items\" must be a list"},
        {"{\"items\": [{\"name\": \"x\", \"details\": 5}]}",
         "c.json item 1 (\"x\"): \"details\" must be a list"},
        {"{\"items\": [{\"name\": [1]}]}", "\"name\" must be text"},
    };
    for (const Case& c : cases) {
        WriteText(Path("c.json"), c.text);
        try {
            CCatalogueJson::Load(Path("c.json"));
            ADD_FAILURE() << c.text;
        } catch (const CPackError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(CFolderSource::Load(Path("no-such-folder")), CPackError);
    std::filesystem::create_directories(Path("empty"));
    EXPECT_THROW(CFolderSource::Load(Path("empty")), CPackError);
    Jpeg("f/a.jpg", 2, 2);
    WriteText(Path("f/collection.json"), R"({"pictures": {"b.jpg": {"name": "typo"}}})");
    EXPECT_THROW(CFolderSource::Load(Path("f")), CPackError);
    WriteText(Path("c.csv"), "Title,Picture\nx,y\n");
    EXPECT_THROW(CCsvCatalogue::Load(Path("c.csv")), CPackError);
}

TEST_F(PackBuildTest, DamagedViewerFilesAreNamedNeverCrash) {
    Jpeg("p.jpg", 3, 3);
    WriteText(Path("c.json"), R"({"items": [{"name": "a", "picture": "p.jpg"}, {"name": "b"}]})");
    Pack(CCatalogueJson::Load(Path("c.json")), m_viewer, Path("out"));
    const std::string whole = ReadAll(Path("out"));
    auto inspect = [&](const std::string& bytes) -> std::string {
        WriteText(Path("damaged"), bytes);
        try {
            CViewerFileReader reader(Path("damaged"));
            for (int i = 0; i < reader.GetItemCount(); ++i)
                reader.ReadItem(i);
            return "";
        } catch (const CPackError& e) {
            return e.what();
        }
    };
    EXPECT_EQ(inspect(whole), "");
    // Cut anywhere, the file is refused with a message (or still readable when only the
    // viewer's bytes were lost, which nothing reads).
    for (size_t n = 0; n + 1 < whole.size(); ++n)
        EXPECT_NE(inspect(whole.substr(0, n)), "") << n;
    std::string noItems = whole;
    noItems.replace(noItems.size() - 8, 4, std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(inspect(noItems), Path("damaged") + ": no collection is appended to this file");
    std::string farIndex = whole;
    farIndex.replace(farIndex.size() - 4, 4, std::string("\x00\x00\x00\x7F", 4));
    EXPECT_NE(inspect(farIndex).find("no collection is appended to this file (its last 8 bytes "
                                     "point outside it)"),
              std::string::npos);
    // The first picture's byte count made far too large: named with the item and the offset.
    std::string longPicture = whole;
    const size_t countAt =
        ReadAll(m_viewer).size() + 2 + 7 + 4 + 4; // name "a", 7 empty texts, 2 arrays, flag
    longPicture.replace(countAt, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    EXPECT_NE(inspect(longPicture).find("item 1 (record at offset 0x"), std::string::npos)
        << inspect(longPicture);
    EXPECT_NE(inspect(longPicture).find("the picture at offset"), std::string::npos)
        << inspect(longPicture);
}

TEST_F(PackBuildTest, BmpPlaceholdersKeepTheirPixels) {
    auto bmp = [](int bpp, int height, const std::string& pixels) {
        const int width = 2, stride = (width * bpp / 8 + 3) & ~3;
        std::string b = "BM";
        auto le = [&](DWORD v, int n) {
            for (int i = 0; i < n; ++i)
                b += (char)(v >> (8 * i));
        };
        le(54 + (DWORD)(stride * std::abs(height)), 4), le(0, 4), le(54, 4);
        le(40, 4), le(width, 4), le((DWORD)height, 4), le(1, 2), le((DWORD)bpp, 2), le(0, 4);
        le(0, 4), le(0, 4), le(0, 4), le(0, 4), le(0, 4);
        return b + pixels;
    };
    // Bottom-up 24-bit: the file's first row is the picture's bottom row.
    WriteText(
        Path("a.bmp"),
        bmp(24, 2, std::string("\x01\x02\x03\x04\x05\x06\0\0\x0A\x0B\x0C\x0D\x0E\x0F\0\0", 16)));
    // Top-down 32-bit with partial alpha.
    WriteText(Path("b.bmp"), bmp(32, -1, std::string("\x10\x20\x30\x80\x40\x50\x60\xFF", 8)));
    WriteText(
        Path("c.json"),
        R"({"items": [{"name": "a", "placeholder": "a.bmp"}, {"name": "b", "placeholder": "b.bmp"}]})");
    Pack(CCatalogueJson::Load(Path("c.json")), m_viewer, Path("out"));
    CViewerFileReader reader(Path("out"));
    const IMAGELIST_DATA a = reader.ReadItem(0).imageList, b = reader.ReadItem(1).imageList;
    ASSERT_EQ(a.cx, 2);
    ASSERT_EQ(a.cy, 2);
    EXPECT_EQ(a.PixelAt(0, 0, 0) & 0xFFFFFF, 0x0C0B0Au);
    EXPECT_EQ(a.PixelAt(0, 1, 1) & 0xFFFFFF, 0x060504u);
    EXPECT_FALSE(a.IsTransparentAt(0, 0, 0));
    ASSERT_EQ(b.cy, 1);
    EXPECT_TRUE(b.bAlpha);
    EXPECT_EQ(b.PixelAt(0, 0, 0), 0x80302010u);
    EXPECT_EQ(b.PixelAt(0, 1, 0), 0xFF605040u);
}
