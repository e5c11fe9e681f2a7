#include <memory>

#include "PackFixture.h"
#include "data/CollectionFile.h"

namespace {
// The picture of item `index` as the viewer shows it, rows top first, 0xRRGGBB.
RGBA_IMAGE Shown(const std::string& collection, int index = 0) {
    CCollectionFile file;
    EXPECT_EQ(file.Open(collection.c_str()), 1);
    std::unique_ptr<CCollectionItem> item(file.LoadItem(index));
    RGBA_IMAGE image;
    CItemPicture* picture = item ? item->GetPicture() : nullptr;
    if (!picture)
        return image;
    BITMAP bm{};
    picture->GetBitmap(&bm);
    image.nWidth = bm.bmWidth, image.nHeight = bm.bmHeight;
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x) {
            // The viewer's bitmap rows run bottom-up.
            const BYTE* p = static_cast<const BYTE*>(bm.bmBits) +
                            (size_t)(bm.bmHeight - 1 - y) * (size_t)bm.bmWidthBytes + (size_t)x * 3;
            image.pixels.push_back((DWORD)p[2] << 16 | (DWORD)p[1] << 8 | p[0]);
        }
    return image;
}

bool Near(DWORD a, DWORD b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs((int)(a >> shift & 0xFF) - (int)(b >> shift & 0xFF)) > 24)
            return false;
    return true;
}
} // namespace

class PictureOptionsTest : public PackFixture {
protected:
    RUN_RESULT Build(const std::string& options) {
        return RunPack("build " + Path("f") + " -o " + Path("out") + " --viewer " + m_viewer + " " +
                       options);
    }
};

TEST_F(PictureOptionsTest, TransparentPartsLieOnTheChosenBackground) {
    // Left half transparent (red beneath, which must not show), right half opaque blue, and a
    // half-transparent white band along the top.
    RGBA_IMAGE image{16, 16, {}};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.pixels.push_back(y < 4 ? 0x80FFFFFFu : x < 8 ? 0x00FF0000u : 0xFF0000FFu);
    std::filesystem::create_directories(Path("f"));
    CPictureFile::WritePng(image, Path("f/logo.png"));
    const struct {
        const char* option;
        DWORD left, band;
    } cases[] = {{"", 0x000000, 0x808080},
                 {"--background white", 0xFFFFFF, 0xFFFFFF},
                 {"--background '#00ff00'", 0x00FF00, 0x80FF80},
                 {"--background c84", 0xCC8844, 0xE6C4A2}};
    for (const auto& c : cases) {
        ASSERT_EQ(Build(c.option).nExit, 0) << c.option;
        const RGBA_IMAGE shown = Shown(Path("out"));
        ASSERT_EQ(shown.nWidth, 16);
        EXPECT_TRUE(Near(shown.pixels[10 * 16 + 2], c.left))
            << c.option << std::hex << " " << shown.pixels[10 * 16 + 2];
        EXPECT_TRUE(Near(shown.pixels[10 * 16 + 13], 0x0000FF)) << c.option;
        EXPECT_TRUE(Near(shown.pixels[1 * 16 + 6], c.band))
            << c.option << std::hex << " " << shown.pixels[1 * 16 + 6];
    }
    const RUN_RESULT bad = Build("--background mauve");
    EXPECT_EQ(bad.nExit, 2);
    EXPECT_NE(bad.out.find("--background takes a colour"), std::string::npos) << bad.out;
}
