#include <sys/stat.h>

#include "PackFixture.h"
#include "tools/writer/CollectionWriter.h"

class PackCommandLineTest : public PackFixture {};

TEST_F(PackCommandLineTest, CommandsAnswerWithTheirExitStatus) {
    Jpeg("f/pic.jpg", 6, 4);
    const std::string out = Path("out"), viewer = " --viewer " + RealViewer();
    struct Case {
        std::string args;
        int nExit;
        std::string text;
    } cases[] = {
        {"--help", 0,
         "compressed again at quality 95; PNGs are converted\n         to JPEG at quality 92"},
        {"--version", 0, "slideshow-pack 1.1.0"},
        {"", 2, "no command"},
        {"build", 2, "build needs a SOURCE"},
        {"build " + Path("f"), 2, "build needs -o OUTPUT"},
        {"frobnicate", 2, "unknown command"},
        {"build " + Path("f") + " -o " + out + " --bogus", 2, "unknown option --bogus"},
        {"build " + Path("nothing") + " -o " + out + viewer, 1, "nothing: no such file or folder"},
        // 6 x 4 pixels do not fill a block: the picture cannot turn without loss.
        {"build " + Path("f") + " -o " + out + viewer, 0, "\n  1 picture re-encoded at quality 95"},
        // Without --viewer, the one built beside the tool.
        {"build " + Path("f") + " -o " + Path("found"), 0, ""},
        {"inspect " + out, 0, "item 1: pic\n  hidden text:  pic.jpg\n  picture:      JPEG, "},
        {"inspect " + out, 0, " bytes, 6 x 4 as shown"},
        {"inspect --json " + out, 0, "\"item_count\": 1"},
        {"inspect " + m_viewer, 1, "slideshow-pack: " + m_viewer + ": "},
        {"extract " + out + " " + Path("x"), 0, ""},
    };
    for (const Case& c : cases) {
        const RUN_RESULT r = RunPack(c.args);
        EXPECT_EQ(r.nExit, c.nExit) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.text), std::string::npos) << c.args << "\n" << r.out;
    }
    EXPECT_TRUE(std::filesystem::exists(Path("x/catalogue.json")));
    EXPECT_EQ(std::filesystem::file_size(Path("found")), std::filesystem::file_size(out));
}

TEST_F(PackCommandLineTest, AViewerThatIsNotOneIsRefusedBeforeAnythingIsWritten) {
    Jpeg("f/pic.jpg", 6, 4);
    // A copy of the viewer cut off before its end, as a damaged installation leaves it.
    const std::string real = RealViewer();
    const std::string cut = Path("cut-viewer");
    std::filesystem::copy_file(real, cut);
    std::filesystem::resize_file(cut, std::filesystem::file_size(real) - 4096);
    const std::string tool = std::string(SLIDESHOW_BINARY_DIR) + "/tools/slideshow-pack";
    for (const std::string& wrong : {m_viewer, cut, tool, Jpeg("pic.jpg", 4, 6), Path("f")}) {
        const RUN_RESULT r =
            RunPack("build " + Path("f") + " -o " + Path("out") + " --viewer " + wrong);
        EXPECT_EQ(r.nExit, 1) << wrong << "\n" << r.out;
        EXPECT_NE(r.out.find(wrong + ": "), std::string::npos) << r.out;
        EXPECT_FALSE(std::filesystem::exists(Path("out"))) << wrong;
    }
}

TEST_F(PackCommandLineTest, HostileNamesAndFilesAreReportedReadably) {
    CCollectionWriter writer;
    ITEM_RECORD record;
    record.m_strName = "evil\x1b]0;owned\x07\nitem 9: forged";
    record.detailNames.Add("clear\x1b[2J");
    record.detailValues.Add("value");
    record.bImageList = TRUE;
    record.imageList.cx = record.imageList.cy = 4;
    record.imageList.nImages = 0;
    writer.AddItem(record);
    writer.AddEntryFor(0);
    const std::string viewer = ReadAll(RealViewer());
    writer.SetPrefix(std::vector<BYTE>(viewer.begin(), viewer.end()));
    ASSERT_TRUE(writer.WriteFile(Path("evil").c_str()));
    const RUN_RESULT inspect = RunPack("inspect " + Path("evil"));
    EXPECT_EQ(inspect.nExit, 0) << inspect.out;
    EXPECT_NE(inspect.out.find("item 1: evil\\x1b]0;owned\\x07\\nitem 9: forged\n"),
              std::string::npos)
        << inspect.out;
    EXPECT_NE(inspect.out.find("detail:       clear\\x1b[2J = value"), std::string::npos);
    EXPECT_NE(inspect.out.find("item 2: the record of item 1 again"), std::string::npos);
    EXPECT_EQ(inspect.out.find('\x1b'), std::string::npos);

    Jpeg("f/a.jpg", 3, 2);
    ASSERT_EQ(::mkfifo(Path("f/b\x1b[2J.jpg").c_str(), 0600), 0);
    const RUN_RESULT build =
        RunPack("build " + Path("f") + " -o " + Path("out") + " --viewer " + Path("evil"));
    EXPECT_EQ(build.nExit, 0) << build.out;
    EXPECT_NE(build.out.find("skipped " + Path("f/b\\x1b[2J.jpg") + ": not a regular file"),
              std::string::npos)
        << build.out;
    EXPECT_NE(build.out.find("carries a collection already (2 items)"), std::string::npos)
        << build.out;

    const RUN_RESULT refused = RunPack("extract " + Path("out") + " " + Path("f"));
    EXPECT_EQ(refused.nExit, 1);
    EXPECT_NE(refused.out.find("not empty; give --force"), std::string::npos) << refused.out;
    const RUN_RESULT forced = RunPack("extract --force " + Path("out") + " " + Path("f"));
    EXPECT_EQ(forced.nExit, 0) << forced.out;
    EXPECT_TRUE(std::filesystem::exists(Path("f/catalogue.json")));
}

TEST_F(PackCommandLineTest, InspectSaysWhatEachTextIs) {
    const RUN_RESULT plain = RunPack("inspect " + m_viewer);
    EXPECT_EQ(plain.nExit, 1);
    EXPECT_NE(plain.out.find(m_viewer + ": no collection is appended to this file"),
              std::string::npos)
        << plain.out;
    WriteText(Path("tiny"), "abc");
    EXPECT_NE(RunPack("inspect " + Path("tiny")).out.find("no collection is appended"),
              std::string::npos);

    // An older catalogue names the hidden text "field2".
    WriteText(Path("c/catalogue.json"), R"({"version": "3.5", "title": "Coins",
        "created_by": "Ann", "items": [{"name": "First", "line1": "cap A", "field2": "secret"},
        {"name": "Second", "title": "stray title"}]})");
    ASSERT_EQ(RunPack("build " + Path("c/catalogue.json") + " -o " + Path("out") + " --viewer " +
                      RealViewer())
                  .nExit,
              0);
    const std::string text = RunPack("inspect " + Path("out")).out;
    for (const char* expected :
         {"version text: 3.5 (the About box shows it)\n",
          "collection (from the first item's record):\n  title:        Coins\n"
          "  created by:   Ann\nitem 1: First\n",
          "  line 1:       cap A\n  hidden text:  secret\n",
          "item 2: Second\n  unshown title: stray title\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n---\n" << text;

    const std::string json = RunPack("inspect --json " + Path("out")).out;
    EXPECT_EQ(json.find("field2"), std::string::npos) << json;
    EXPECT_EQ(json.find("\"header\""), std::string::npos) << json;
    for (const char* expected :
         {"\"version\": \"3.5\"", "\"hidden_text\": \"secret\"", "\"collection_title\": \"Coins\"",
          "\"collection_created_by\": \"Ann\""})
        EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;

    ASSERT_EQ(RunPack("extract " + Path("out") + " " + Path("x")).nExit, 0);
    const std::string catalogue = ReadAll(Path("x/catalogue.json"));
    EXPECT_NE(catalogue.find("\"hidden_text\": \"secret\""), std::string::npos) << catalogue;
}
