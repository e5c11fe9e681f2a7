// Crafted collections and sources that once crashed slideshow-pack, wrote where they should
// not, multiplied their records or hung it.
#include <sys/stat.h>
#include <unistd.h>

#include "PackFixture.h"
#include "tools/pack/CatalogueJson.h"
#include "tools/pack/CollectionPacker.h"
#include "tools/pack/CsvCatalogue.h"
#include "tools/pack/FolderSource.h"
#include "tools/pack/PackCommands.h"
#include "tools/pack/RowRestarts.h"
#include "tools/pack/TerminalText.h"
#include "tools/pack/ViewerFileReader.h"
#include "tools/writer/CollectionWriter.h"

namespace fs = std::filesystem;

namespace {
ITEM_RECORD Record(const char* name, const std::string& jpeg) {
    ITEM_RECORD record;
    record.m_strName = name;
    record.m_strLine1 = "first line";
    record.detailNames.Add("Metal");
    record.detailValues.Add("silver");
    record.bPicture = TRUE;
    record.jpeg.assign(jpeg.begin(), jpeg.end());
    return record;
}

// Catches what a call throws, or "" when it returns.
template <typename CALL> std::string ErrorOf(CALL call) {
    try {
        call();
        return "";
    } catch (const CPackError& e) {
        return e.what();
    }
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

class CScopedUmask {
public:
    explicit CScopedUmask(mode_t mask) : m_old(::umask(mask)) {}
    ~CScopedUmask() { ::umask(m_old); }

private:
    mode_t m_old;
};
} // namespace

class PackHostileFileTest : public PackFixture {
protected:
    // A collection behind the stand-in viewer, as build makes it.
    std::string WriteCollection(CCollectionWriter& writer, const std::string& name) {
        const std::string viewer = ReadAll(m_viewer);
        writer.SetPrefix(std::vector<BYTE>(viewer.begin(), viewer.end()));
        writer.SetHeader("1.0");
        EXPECT_TRUE(writer.WriteFile(Path(name).c_str()));
        return Path(name);
    }
    std::string SmallJpeg() { return ReadAll(Jpeg("p.jpg", 5, 3)); }
    // The picture as build stores it: with its restart markers.
    std::string StoredJpeg() {
        const std::string jpeg = SmallJpeg();
        const std::vector<BYTE> stored =
            CRowRestarts::Add(std::vector<BYTE>(jpeg.begin(), jpeg.end()));
        return std::string(stored.begin(), stored.end());
    }
};

TEST_F(PackHostileFileTest, ImageListWithoutImagesIsExtractedWithoutPlaceholder) {
    CCollectionWriter writer;
    ITEM_RECORD record = Record("empty list", "");
    record.bPicture = FALSE;
    record.bImageList = TRUE;
    record.imageList.cx = 16;
    record.imageList.cy = 8;
    record.imageList.nImages = 0;
    record.imageList.bMask = TRUE;
    writer.AddItem(record);
    const std::string file = WriteCollection(writer, "file");
    ASSERT_TRUE(CViewerFileReader(file).ReadItem(0).bImageList);

    ASSERT_EQ(CPackCommands::Extract(file, Path("x")), 0);
    const PACK_CATALOGUE catalogue = CCatalogueJson::Load(Path("x/catalogue.json"));
    ASSERT_EQ(catalogue.items.size(), 1u);
    EXPECT_EQ(catalogue.items[0].m_strName, "empty list");
    EXPECT_TRUE(catalogue.items[0].placeholderPath.empty());
    EXPECT_EQ(CountFiles(".png"), 0);
}

TEST_F(PackHostileFileTest, ExtractNeverFollowsLinksNorReplacesFiles) {
    CCollectionWriter writer;
    writer.AddItem(Record("one", SmallJpeg()));
    const std::string file = WriteCollection(writer, "file");
    WriteText(Path("outside/victim"), "keep me");
    const std::string victim = Path("outside/victim");

    // A folder that holds anything is refused without --force, and left as it was.
    WriteText(Path("full/notes.txt"), "mine");
    EXPECT_NE(ErrorOf([&] { CPackCommands::Extract(file, Path("full")); }).find("not empty"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(Path("full/pictures")));
    EXPECT_EQ(ReadAll(Path("full/notes.txt")), "mine");

    struct Case {
        const char* link; // planted in the target folder, pointing at the victim
        const char* message;
    } cases[] = {{"pictures/0001.jpg", "0001.jpg: already exists"},
                 {"catalogue.json", "catalogue.json: already exists"}};
    for (const Case& c : cases) {
        const fs::path target = m_dir / "target";
        fs::remove_all(target);
        fs::create_directories(target / "pictures");
        fs::create_symlink(victim, target / c.link);
        const std::string error =
            ErrorOf([&] { CPackCommands::Extract(file, target.string(), true); });
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(ReadAll(victim), "keep me") << c.link;
        EXPECT_TRUE(fs::is_symlink(target / c.link)) << c.link;
        // What this run wrote went again; the planted link stays.
        EXPECT_EQ(std::distance(fs::recursive_directory_iterator(target),
                                fs::recursive_directory_iterator()),
                  2)
            << c.link;
    }
    // A pictures folder that is a link is not followed.
    fs::remove_all(m_dir / "target");
    fs::create_directories(m_dir / "target");
    fs::create_directory_symlink(m_dir / "outside", m_dir / "target/pictures");
    const std::string error = ErrorOf([&] { CPackCommands::Extract(file, Path("target"), true); });
    EXPECT_NE(error.find("pictures: not a folder"), std::string::npos) << error;
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "outside"), fs::directory_iterator()),
              1);
    // --force with names that are free writes beside what is there.
    fs::remove(m_dir / "target/pictures");
    ASSERT_EQ(CPackCommands::Extract(file, Path("full"), true), 0);
    EXPECT_EQ(ReadAll(Path("full/notes.txt")), "mine");
    EXPECT_EQ(CCatalogueJson::Load(Path("full/catalogue.json")).items[0].m_strName, "one");
    EXPECT_EQ(CountFiles(".partial-"), 0);
}

TEST_F(PackHostileFileTest, ARecordListedManyTimesIsReadAndWrittenOnce) {
    // A picture of 1 MB (the JPEG, then padding that ends in an end marker) under 300 entries.
    const std::string picture = StoredJpeg() + std::string(1 << 20, '\x5A') + "\xFF\xD9";
    CCollectionWriter writer;
    ITEM_RECORD first = Record("first", StoredJpeg());
    first.m_strComments = "collection comments";
    writer.AddItem(first);
    const int nShared = writer.AddItem(Record("shared", picture));
    for (int i = 0; i < 300; ++i)
        writer.AddEntryFor(i % 2 == 0 ? nShared : 0);
    // A record of its own after the repeats keeps its own picture when built again.
    writer.AddItem(Record("last", StoredJpeg() + std::string(1000, '\x33') + "\xFF\xD9"));
    const std::string file = WriteCollection(writer, "file");

    ASSERT_EQ(CPackCommands::Extract(file, Path("x")), 0);
    ULONGLONG nBytes = 0;
    for (const auto& e : fs::recursive_directory_iterator(m_dir / "x"))
        nBytes += e.is_regular_file() ? e.file_size() : 0;
    EXPECT_LT(nBytes, picture.size() + 100000);
    EXPECT_EQ(CountFiles(".jpg"), 4); // p.jpg, and the three records' pictures

    const PACK_CATALOGUE catalogue = CCatalogueJson::Load(Path("x/catalogue.json"));
    ASSERT_EQ(catalogue.items.size(), 303u);
    EXPECT_EQ(catalogue.items[1].nSameAs, -1);
    EXPECT_EQ(catalogue.items[2].nSameAs, 1);
    EXPECT_EQ(catalogue.items[3].nSameAs, 0);
    // Built again, the entries share their records as before: the same bytes.
    CCollectionPacker(catalogue).Pack(m_viewer, Path("again"), false);
    EXPECT_EQ(ReadAll(Path("again")), ReadAll(file));
    CViewerFileReader again(Path("again"));
    EXPECT_EQ(again.GetItemPosition(301), again.GetItemPosition(0));
    EXPECT_EQ(again.ReadItem(301).texts.m_strComments, "collection comments");

    // A repeat must name an earlier item that has a record of its own.
    for (const char* json : {R"({"items": [{"same_as": 1}]})",
                             R"({"items": [{"name": "a"}, {"same_as": 3}, {"name": "b"}]})",
                             R"({"items": [{"name": "a"}, {"same_as": 1}, {"same_as": 2}]})"}) {
        WriteText(Path("c.json"), json);
        EXPECT_NE(ErrorOf([&] {
                      CCollectionPacker(CCatalogueJson::Load(Path("c.json")))
                          .Pack(m_viewer, Path("out"), false);
                  }).find("same_as"),
                  std::string::npos)
            << json;
    }
    WriteText(Path("c.json"), R"({"items": [{"name": "a"}, {"same_as": 1, "name": "b"}]})");
    EXPECT_NE(ErrorOf([&] { CCatalogueJson::Load(Path("c.json")); }).find("no other keys"),
              std::string::npos);
}

TEST_F(PackHostileFileTest, ControlCharactersAreShownEscaped) {
    EXPECT_EQ(CTerminalText::Escape("a\x1b]0;title\x07\nitem 2: forged\r\t"),
              "a\\x1b]0;title\\x07\\nitem 2: forged\\r\\t");
    EXPECT_EQ(CTerminalText::Escape("C:\\x1b \x7f"), "C:\\\\x1b \\x7f");
    EXPECT_EQ(CTerminalText::Escape("\xC2\x9B"
                                    "2J \xC2\xA0\xC3\xA9 日本"),
              "\\u009b2J \xC2\xA0\xC3\xA9 日本"); // C1 CSI escaped, no-break space and é kept
    EXPECT_EQ(CTerminalText::Escape("cut \xE6\x97 \xFF"), "cut \\xe6\\x97 \\xff");
}

TEST_F(PackHostileFileTest, OutputTakesTheUmask) {
    Jpeg("f/a.jpg", 4, 2);
    CScopedUmask mask(027);
    CCollectionPacker(CFolderSource::Load(Path("f"))).Pack(m_viewer, Path("out"), false);
    EXPECT_EQ(ModeOf(Path("out")), 0750u);
    ::umask(077);
    ASSERT_EQ(CPackCommands::Extract(Path("out"), Path("x")), 0);
    EXPECT_EQ(ModeOf(Path("x/catalogue.json")), 0600u);
    EXPECT_EQ(ModeOf(Path("x/pictures/a.jpg")), 0600u);
}

TEST_F(PackHostileFileTest, AViewerThatCarriesACollectionIsNotNested) {
    Jpeg("old/a.jpg", 6, 2);
    WriteText(Path("new.json"), R"({"items": [{"name": "new item"}]})");
    CCollectionPacker(CFolderSource::Load(Path("old"))).Pack(m_viewer, Path("packed"), false);
    CCollectionPacker(CCatalogueJson::Load(Path("new.json")))
        .Pack(Path("packed"), Path("repacked"), false);
    CCollectionPacker(CCatalogueJson::Load(Path("new.json"))).Pack(m_viewer, Path("plain"), false);
    // Only the viewer's bytes came along: the same file as packing with the plain viewer.
    EXPECT_EQ(ReadAll(Path("repacked")), ReadAll(Path("plain")));
    CViewerFileReader reader(Path("repacked"));
    ASSERT_EQ(reader.GetItemCount(), 1);
    EXPECT_EQ(reader.ReadItem(0).texts.m_strName, "new item");
}

TEST_F(PackHostileFileTest, SpecialFilesAreRefusedByName) {
    Jpeg("f/a.jpg", 3, 2);
    ASSERT_EQ(::mkfifo(Path("f/fifo.jpg").c_str(), 0600), 0);
    fs::create_symlink(Path("nowhere.jpg"), Path("f/dangling.jpg"));
    const PACK_CATALOGUE folder = CFolderSource::Load(Path("f"));
    ASSERT_EQ(folder.items.size(), 1u);
    ASSERT_EQ(folder.skipped.size(), 2u);
    EXPECT_NE(folder.skipped[0].find("dangling.jpg: a link to a file that does not exist"),
              std::string::npos)
        << folder.skipped[0];
    EXPECT_NE(folder.skipped[1].find("fifo.jpg: not a regular file (a FIFO)"), std::string::npos)
        << folder.skipped[1];

    // Settings or catalogues that would block or read for ever.
    ASSERT_EQ(::mkfifo(Path("f/collection.json").c_str(), 0600), 0);
    EXPECT_NE(ErrorOf([&] { CFolderSource::Load(Path("f")); }).find("(a FIFO)"), std::string::npos);
    fs::remove(Path("f/collection.json"));
    fs::create_symlink("/dev/zero", Path("f/collection.json"));
    EXPECT_NE(ErrorOf([&] { CFolderSource::Load(Path("f")); }).find("(a device)"),
              std::string::npos);
    fs::remove(Path("f/collection.json"));
    fs::create_symlink(Path("gone.json"), Path("f/collection.json"));
    EXPECT_NE(ErrorOf([&] { CFolderSource::Load(Path("f")); }).find("a link to a file that does"),
              std::string::npos);
    fs::create_symlink("/dev/zero", Path("zero.csv"));
    EXPECT_NE(ErrorOf([&] { CCsvCatalogue::Load(Path("zero.csv")); }).find("(a device)"),
              std::string::npos);

    // Pictures and placeholders that a catalogue names.
    const std::pair<std::string, std::string> cases[] = {
        {R"({"items": [{"name": "a", "picture": "f/fifo.jpg"}]})", "(a FIFO)"},
        {R"({"items": [{"name": "a", "placeholder": "f/fifo.jpg"}]})", "(a FIFO)"},
        {R"({"items": [{"name": "a", "picture": "/dev/zero"}]})", "(a device)"},
        {R"({"items": [{"name": "a", "placeholder": "/dev/zero"}]})", "(a device)"},
        {R"({"items": [{"name": "a", "picture": "f/a.jpg\u0000.png"}]})", "NUL"}};
    for (const auto& [json, message] : cases) {
        WriteText(Path("c.json"), json);
        const std::string error = ErrorOf([&] {
            CCollectionPacker(CCatalogueJson::Load(Path("c.json")))
                .Pack(m_viewer, Path("out"), false);
        });
        EXPECT_NE(error.find(message), std::string::npos) << json << ": " << error;
    }
    WriteText(Path("c.csv"), std::string("name,picture\nx,f/a.jpg\0.png\n", 28));
    const std::string error = ErrorOf([&] {
        CCollectionPacker(CCsvCatalogue::Load(Path("c.csv"))).Pack(m_viewer, Path("out"), false);
    });
    EXPECT_NE(error.find("c.csv line 2: the picture's path holds a NUL byte"), std::string::npos)
        << error;
    EXPECT_FALSE(fs::exists(Path("out")));
}
