#include <sys/time.h>

#include "PackFixture.h"
#include "tools/pack/JpegMarkers.h"
#include "tools/pack/NaturalOrder.h"
#include "tools/pack/ViewerFileReader.h"

namespace {
// The names of the items in a viewer file, in order.
std::vector<std::string> ItemNames(const std::string& path) {
    CViewerFileReader reader(path);
    std::vector<std::string> names;
    for (int i = 0; i < reader.GetItemCount(); ++i)
        names.push_back(reader.ReadItem(i).texts.m_strName.Str());
    return names;
}

// An EXIF block whose second directory carries the date the picture was taken.
std::vector<BYTE> ExifWithDate(const char* date) {
    const std::string tiff = std::string("MM\0\x2A\0\0\0\x08", 8) +
                             // first directory: a pointer to the EXIF directory at 26
                             std::string("\0\x01\x87\x69\0\x04\0\0\0\x01\0\0\0\x1A\0\0\0\0", 18) +
                             // EXIF directory: the original date, 20 characters at 44
                             std::string("\0\x01\x90\x03\0\x02\0\0\0\x14\0\0\0\x2C\0\0\0\0", 18) +
                             std::string(date, 20);
    const std::string segment =
        std::string("\xFF\xE1\0", 3) + (char)(tiff.size() + 8) + std::string("Exif\0\0", 6) + tiff;
    return std::vector<BYTE>(segment.begin(), segment.end());
}

void SetModified(const std::string& path, time_t when) {
    const timeval times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0);
}
} // namespace

class FolderBuildTest : public PackFixture {
protected:
    RUN_RESULT Build(const std::string& source, const std::string& options = "") {
        return RunPack("build " + source + " -o " + Path("out") + " --viewer " + RealViewer() +
                       " " + options);
    }
};

TEST_F(FolderBuildTest, BrokenPicturesAreSkippedAndNamedUnlessStrict) {
    Jpeg("f/good.jpg", 8, 8);
    WriteText(Path("f/broken.jpg"), std::string("\xFF\xD8\xFF", 3) + "no picture here");
    WriteText(Path("f/anim.gif"), "GIF89a");
    WriteText(Path("f/.hidden.jpg"), "hidden and broken");
    WriteText(Path("f/._good.jpg"), "macOS resource fork");
    WriteText(Path("f/notes.txt"), "not a picture");
    Jpeg("f/sub/deeper.jpg", 8, 8);

    const RUN_RESULT forgiving = Build(Path("f"));
    EXPECT_EQ(forgiving.nExit, 0) << forgiving.out;
    EXPECT_EQ(ItemNames(Path("out")), std::vector<std::string>{"good"});
    for (const std::string& expected :
         {"skipped " + Path("f/broken.jpg") + ": not a JPEG that libjpeg can read",
          Path("out") + ": 1 item with 1 picture, ", std::string("  3 files skipped:\n"),
          "    " + Path("f/anim.gif") + ": GIF pictures cannot be stored",
          "    " + Path("f/broken.jpg") + ": not a JPEG",
          "    " + Path("f/sub") + ": a folder; give --recursive"})
        EXPECT_NE(forgiving.out.find(expected), std::string::npos) << expected << "\n"
                                                                   << forgiving.out;
    EXPECT_EQ(forgiving.out.find("hidden"), std::string::npos) << forgiving.out;
    EXPECT_EQ(forgiving.out.find("._good"), std::string::npos) << forgiving.out;
    EXPECT_EQ(forgiving.out.find("notes.txt"), std::string::npos) << forgiving.out;

    const RUN_RESULT recursive = Build(Path("f"), "--recursive");
    EXPECT_EQ(recursive.nExit, 0) << recursive.out;
    EXPECT_EQ(ItemNames(Path("out")), (std::vector<std::string>{"good", "deeper"}));

    std::filesystem::remove(Path("out"));
    const RUN_RESULT strict = Build(Path("f"), "--strict");
    EXPECT_EQ(strict.nExit, 1);
    EXPECT_NE(strict.out.find(Path("f/broken.jpg") + ": not a JPEG"), std::string::npos)
        << strict.out;
    EXPECT_FALSE(std::filesystem::exists(Path("out")));

    // A catalogue names its files on purpose: a broken one ends the build.
    WriteText(Path("f/list.csv"), "name,picture\nGood,good.jpg\nBroken,broken.jpg\n");
    const RUN_RESULT csv = Build(Path("f/list.csv"));
    EXPECT_EQ(csv.nExit, 1) << csv.out;
    EXPECT_NE(csv.out.find("list.csv line 3: "), std::string::npos) << csv.out;
    EXPECT_FALSE(std::filesystem::exists(Path("out")));

    WriteText(Path("bad/only.jpg"), "nothing");
    const RUN_RESULT nothing = Build(Path("bad"));
    EXPECT_EQ(nothing.nExit, 1);
    EXPECT_NE(nothing.out.find("no picture could be stored"), std::string::npos) << nothing.out;
}

TEST_F(FolderBuildTest, NamesSortNaturallyByNameOrByDate) {
    Jpeg("f/IMG_10.jpg", 8, 8);
    Jpeg("f/IMG_2.jpg", 8, 8);
    Jpeg("f/img_1-final.jpg", 8, 8);
    Png("f/IMG_3.png", 4, 4);
    const std::vector<BYTE> plain = CPictureFile::EncodeJpeg(Gradient(8, 8), 80);
    const std::vector<BYTE> dated =
        CJpegMarkers::InsertSegments(plain, ExifWithDate("2001:02:03 04:05:06"));
    WriteText(Path("f/IMG_20.jpg"), std::string(dated.begin(), dated.end()));
    // By file time IMG_20 is the newest; its EXIF date makes it the oldest.
    SetModified(Path("f/IMG_2.jpg"), 1300000000);
    SetModified(Path("f/IMG_10.jpg"), 1400000000);
    SetModified(Path("f/img_1-final.jpg"), 1500000000);
    SetModified(Path("f/IMG_3.png"), 1600000000);
    SetModified(Path("f/IMG_20.jpg"), 1700000000);

    ASSERT_EQ(Build(Path("f")).nExit, 0);
    EXPECT_EQ(ItemNames(Path("out")),
              (std::vector<std::string>{"img 1 final", "IMG 2", "IMG 3", "IMG 10", "IMG 20"}));
    ASSERT_EQ(Build(Path("f"), "--sort name").nExit, 0);
    EXPECT_EQ(ItemNames(Path("out")),
              (std::vector<std::string>{"IMG 10", "IMG 2", "IMG 20", "IMG 3", "img 1 final"}));
    ASSERT_EQ(Build(Path("f"), "--sort date").nExit, 0);
    EXPECT_EQ(ItemNames(Path("out")),
              (std::vector<std::string>{"IMG 20", "IMG 2", "IMG 10", "img 1 final", "IMG 3"}));
    EXPECT_EQ(Build(Path("f"), "--sort size").nExit, 2);

    // extract gives the pictures their own names back (a PNG's as the JPEG it became).
    ASSERT_EQ(RunPack("extract " + Path("out") + " " + Path("x")).nExit, 0);
    for (const char* name : {"IMG_2.jpg", "IMG_3.jpg", "IMG_10.jpg", "img_1-final.jpg"})
        EXPECT_TRUE(std::filesystem::exists(Path(std::string("x/pictures/") + name))) << name;
}

TEST(NaturalOrder, NumbersCompareByValueAndLettersWithoutCase) {
    const std::pair<const char*, const char*> ordered[] = {
        {"IMG_2", "IMG_10"}, {"a", "B"},          {"x9y", "x10a"}, {"v1.9", "v1.10"},
        {"007", "8"},        {"photo", "photo1"}, {"A1", "a1"},    {"a01", "a1"}};
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(CNaturalOrder::Less(a, b)) << a << " < " << b;
        EXPECT_FALSE(CNaturalOrder::Less(b, a)) << b << " < " << a;
    }
}

TEST_F(FolderBuildTest, CollectionTextsComeFromOptionsAndInitWritesAStarter) {
    Jpeg("coins/coin_10.jpg", 8, 8);
    Jpeg("coins/coin_9.jpg", 8, 8);
    const RUN_RESULT init = RunPack("init " + Path("coins"));
    EXPECT_EQ(init.nExit, 0) << init.out;
    EXPECT_NE(init.out.find("lists 2 pictures"), std::string::npos) << init.out;
    const std::string starter = ReadAll(Path("coins/collection.json"));
    EXPECT_NE(starter.find("\"title\": \"coins\""), std::string::npos) << starter;
    const size_t nine = starter.find("\"coin_9.jpg\": {\n      \"name\": \"coin 9\"");
    EXPECT_NE(nine, std::string::npos) << starter;
    EXPECT_LT(nine, starter.find("\"coin_10.jpg\"")) << starter;
    // A second init never replaces what the user filled in.
    WriteText(Path("coins/collection.json"), R"({"title": "Mine", "created_by": "Bea",
        "pictures": {"coin_9.jpg": {"name": "Nine", "title": "own"}}})");
    EXPECT_EQ(RunPack("init " + Path("coins")).nExit, 1);
    EXPECT_NE(ReadAll(Path("coins/collection.json")).find("Mine"), std::string::npos);

    WriteText(Path("about.txt"), "Struck in 1901.\nTwo lines.");
    ASSERT_EQ(
        Build(Path("coins"), "--title 'Old coins' --date 1999 --comments " + Path("about.txt"))
            .nExit,
        0);
    CViewerFileReader reader(Path("out"));
    const PACK_ITEM first = reader.ReadItem(0).texts;
    EXPECT_EQ(first.m_strName, "Nine");
    EXPECT_EQ(first.m_strCollectionTitle, "Old coins");
    EXPECT_EQ(first.m_strCreatedBy, "Bea"); // from collection.json, no option given
    EXPECT_EQ(first.m_strDateCreated, "1999");
    EXPECT_EQ(first.m_strComments, "Struck in 1901.\nTwo lines.");

    WriteText(Path("list.csv"), "name,picture\nTen,coins/coin_10.jpg\n");
    ASSERT_EQ(Build(Path("list.csv"), "--creator 'Ann B'").nExit, 0);
    EXPECT_EQ(CViewerFileReader(Path("out")).ReadItem(0).texts.m_strCreatedBy, "Ann B");
    EXPECT_EQ(Build(Path("list.csv"), "--comments " + Path("missing.txt")).nExit, 1);
}
