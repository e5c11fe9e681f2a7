// slideshow-pack takes a 64-bit Windows viewer as a template beside the Linux one, and refuses
// Windows files that are not one: a 32-bit program, a DLL, a copy cut off before its sections.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

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
