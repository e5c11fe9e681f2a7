// slideshow-pack takes a 64-bit Windows viewer as a template beside the Linux one, and refuses
// Windows files that are not one: a 32-bit program, a DLL, a copy cut off before its sections.
// inspect and extract read the NAME.exe it makes as they read a Linux collection.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "PackFixture.h"
#include "tools/pack/PackCatalogue.h"
#include "tools/pack/ViewerTemplate.h"

namespace {

const uint16_t MACHINE_AMD64 = 0x8664, MACHINE_I386 = 0x014C;
const uint16_t FLAG_EXECUTABLE = 0x0002, FLAG_DLL = 0x2000;

void Put(std::string& b, size_t at, uint32_t value, int nBytes) {
    if (b.size() < at + (size_t)nBytes)
        b.resize(at + (size_t)nBytes, '\0');
    for (int i = 0; i < nBytes; ++i)
        b[at + (size_t)i] = (char)((value >> (8 * i)) & 0xFF);
}

// A PE file with one section of 0x200 bytes at 0x200 and the viewer's mark inside it.
std::string PeViewer(uint16_t machine, uint16_t flags, uint32_t sectionSize = 0x200) {
    std::string b(0x400, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    const size_t pe = 0x80;
    Put(b, 0x3C, pe, 4);
    b.replace(pe, 4, std::string("PE\0\0", 4));
    Put(b, pe + 4, machine, 2);
    Put(b, pe + 6, 1, 2);     // sections
    Put(b, pe + 20, 0xF0, 2); // optional header size
    Put(b, pe + 22, flags, 2);
    Put(b, pe + 24, 0x20B, 2); // PE32+
    const size_t section = pe + 24 + 0xF0;
    b.replace(section, 5, ".text");
    Put(b, section + 16, sectionSize, 4);
    Put(b, section + 20, 0x200, 4);
    std::string mark = "1:etalpmet-reweiv-wohsedils";
    std::reverse(mark.begin(), mark.end());
    b.replace(0x240, mark.size(), mark);
    return b;
}

// Every file under `dir` by its path relative to it, with its bytes.
std::map<std::string, std::string> FilesUnder(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file())
            continue;
        std::ifstream in(e.path(), std::ios::binary);
        files[std::filesystem::relative(e.path(), dir).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

// The items inspect --json lists, without their offsets in the file (a viewer's length).
nlohmann::json ItemsWithoutOffsets(const std::string& inspectJson) {
    nlohmann::json items = nlohmann::json::parse(inspectJson).at("items");
    for (auto& item : items)
        item.erase("offset");
    return items;
}

} // namespace

class WindowsViewerTest : public PackFixture {};

TEST_F(WindowsViewerTest, AcceptsA64BitWindowsProgramWithTheMark) {
    WriteText(Path("slideshow.exe"), PeViewer(MACHINE_AMD64, FLAG_EXECUTABLE));
    EXPECT_NO_THROW(CheckViewerTemplate(Path("slideshow.exe")));
    EXPECT_TRUE(IsWindowsViewer(Path("slideshow.exe")));
}

TEST_F(WindowsViewerTest, RefusesOtherWindowsFiles) {
    struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"32-bit", PeViewer(MACHINE_I386, FLAG_EXECUTABLE)},
        {"dll", PeViewer(MACHINE_AMD64, FLAG_EXECUTABLE | FLAG_DLL)},
        {"not-executable", PeViewer(MACHINE_AMD64, 0)},
        {"section-past-end", PeViewer(MACHINE_AMD64, FLAG_EXECUTABLE, 0x201)},
        {"cut-off", PeViewer(MACHINE_AMD64, FLAG_EXECUTABLE).substr(0, 0x300)},
        {"no-pe-signature", PeViewer(MACHINE_AMD64, FLAG_EXECUTABLE).replace(0x80, 2, "NE")},
    };
    for (const auto& c : cases) {
        WriteText(Path(c.name), c.bytes);
        EXPECT_THROW(CheckViewerTemplate(Path(c.name)), CPackError) << c.name;
        EXPECT_FALSE(IsWindowsViewer(Path(c.name))) << c.name;
    }
}

TEST_F(WindowsViewerTest, AWindowsViewerWithoutTheMarkIsRefused) {
    std::string bytes = PeViewer(MACHINE_AMD64, FLAG_EXECUTABLE);
    bytes.replace(0x240, 8, "xxxxxxxx");
    WriteText(Path("other.exe"), bytes);
    EXPECT_THROW(CheckViewerTemplate(Path("other.exe")), CPackError);
}

TEST_F(WindowsViewerTest, AWindowsCollectionIsInspectedAndExtractedAsALinuxOneIs) {
    // Pictures of two shapes with a gradient across and another down: a picture that came back
    // turned, mirrored or with the other's bytes would differ.
    Jpeg("f/wide.jpg", 32, 16);
    Jpeg("f/tall.jpg", 16, 48);
    const std::string viewer = PeViewer(MACHINE_AMD64, FLAG_EXECUTABLE);
    WriteText(Path("slideshow.exe"), viewer);
    const std::string texts = " --title Coins --creator Ann";
    const RUN_RESULT built = RunPack("build " + Path("f") + " -o " + Path("coins") + " --viewer " +
                                     Path("slideshow.exe") + texts);
    ASSERT_EQ(built.nExit, 0) << built.out;
    ASSERT_TRUE(std::filesystem::exists(Path("coins.exe"))) << built.out;
    const std::string exe = ReadAll(Path("coins.exe"));
    EXPECT_EQ(exe.substr(0, viewer.size()), viewer);
    ASSERT_EQ(
        RunPack("build " + Path("f") + " -o " + Path("linux") + " --viewer " + RealViewer() + texts)
            .nExit,
        0);

    const RUN_RESULT inspect = RunPack("inspect " + Path("coins.exe"));
    EXPECT_EQ(inspect.nExit, 0) << inspect.out;
    for (const std::string& expected :
         {"file:   " + Path("coins.exe") + " (" + std::to_string(exe.size()) + " bytes",
          std::string("items:  2\n"), std::string("item 1: tall\n  hidden text:  tall.jpg\n"),
          std::string("16 x 48 as shown\nitem 2: wide\n"), std::string("32 x 16 as shown\n")})
        EXPECT_NE(inspect.out.find(expected), std::string::npos) << expected << "\n" << inspect.out;
    const RUN_RESULT exeJson = RunPack("inspect --json " + Path("coins.exe"));
    const RUN_RESULT linuxJson = RunPack("inspect --json " + Path("linux"));
    ASSERT_EQ(exeJson.nExit, 0) << exeJson.out;
    ASSERT_EQ(linuxJson.nExit, 0) << linuxJson.out;
    const nlohmann::json items = ItemsWithoutOffsets(exeJson.out);
    EXPECT_EQ(items, ItemsWithoutOffsets(linuxJson.out));
    EXPECT_EQ(items.at(0).at("collection_title"), "Coins");

    ASSERT_EQ(RunPack("extract " + Path("coins.exe") + " " + Path("x-exe")).nExit, 0);
    ASSERT_EQ(RunPack("extract " + Path("linux") + " " + Path("x-linux")).nExit, 0);
    const auto extracted = FilesUnder(Path("x-exe"));
    EXPECT_EQ(extracted.size(), 3u); // the catalogue and both pictures
    EXPECT_TRUE(extracted == FilesUnder(Path("x-linux")));
    EXPECT_NE(extracted.at("pictures/wide.jpg"), extracted.at("pictures/tall.jpg"));

    // The extracted catalogue builds the same Windows collection again, byte for byte.
    const RUN_RESULT rebuilt = RunPack("build " + Path("x-exe/catalogue.json") + " -o " +
                                       Path("again") + " --viewer " + Path("slideshow.exe"));
    ASSERT_EQ(rebuilt.nExit, 0) << rebuilt.out;
    EXPECT_TRUE(ReadAll(Path("again.exe")) == exe);
}
