#include <memory>

#include "PackFixture.h"
#include "data/CollectionFile.h"
#include "tools/pack/JpegMarkers.h"

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
        return RunPack("build " + Path("f") + " -o " + Path("out") + " --viewer " + RealViewer() +
                       " " + options);
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

namespace {
// Four quarters of different colours, so that a turn or a mirror shows.
DWORD Quarter(int x, int y, int w, int h) {
    static const DWORD COLOURS[4] = {0xE02020, 0x20C020, 0x2040E0, 0xF0F0F0};
    return COLOURS[(y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0)];
}

void ExpectQuarters(const RGBA_IMAGE& shown, int w, int h, const std::string& what) {
    ASSERT_EQ(shown.nWidth, w) << what;
    ASSERT_EQ(shown.nHeight, h) << what;
    for (const auto& [x, y] : {std::pair<int, int>{w / 4, h / 4},
                               {3 * w / 4, h / 4},
                               {w / 4, 3 * h / 4},
                               {3 * w / 4, 3 * h / 4}})
        EXPECT_TRUE(Near(shown.pixels[(size_t)(y * w + x)], Quarter(x, y, w, h)))
            << what << " at " << x << "," << y << std::hex << ": "
            << shown.pixels[(size_t)(y * w + x)];
}
} // namespace

TEST_F(PictureOptionsTest, MaxSizeFitsTheUprightPictureAndSaysWhatItSaved) {
    // Upright 128 x 256, stored turned and marked "turn a quarter clockwise" as phones do.
    RGBA_IMAGE stored{256, 128, {}};
    for (int sy = 0; sy < 128; ++sy)
        for (int sx = 0; sx < 256; ++sx)
            stored.pixels.push_back(0xFF000000u | Quarter(127 - sy, sx, 128, 256));
    const std::vector<BYTE> jpeg =
        CJpegMarkers::WithOrientation(CPictureFile::EncodeJpeg(stored, 98), EXIF_TURNED_RIGHT);
    WriteText(Path("f/a-phone.jpg"), std::string(jpeg.begin(), jpeg.end()));
    RGBA_IMAGE wide{40, 20, {}};
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            wide.pixels.push_back(0xFF000000u | Quarter(x, y, 40, 20));
    CPictureFile::WritePng(wide, Path("f/b-wide.png"));
    Jpeg("f/c-small.jpg", 16, 16);

    const RUN_RESULT built = Build("--max-size 16");
    ASSERT_EQ(built.nExit, 0) << built.out;
    EXPECT_NE(built.out.find("  2 pictures made to fit 16 pixels at quality 90, "),
              std::string::npos)
        << built.out;
    EXPECT_NE(built.out.find(" smaller than their files\n"), std::string::npos) << built.out;
    EXPECT_EQ(built.out.find("re-encoded"), std::string::npos) << built.out;
    ExpectQuarters(Shown(Path("out"), 0), 8, 16, "phone picture");
    ExpectQuarters(Shown(Path("out"), 1), 16, 8, "wide PNG");
    EXPECT_EQ(Shown(Path("out"), 2).nHeight, 16); // no longer than asked: kept as it is

    ASSERT_EQ(Build("--max-size 30 --quality 95").nExit, 0);
    const size_t nFine = ReadAll(Path("out")).size();
    ExpectQuarters(Shown(Path("out"), 0), 15, 30, "phone picture");
    ASSERT_EQ(Build("--max-size 30 --quality 10").nExit, 0);
    EXPECT_LT(ReadAll(Path("out")).size(), nFine);
    EXPECT_EQ(Build("--max-size 0").nExit, 2);
    EXPECT_EQ(Build("--max-size 30 --quality 101").nExit, 2);
}
