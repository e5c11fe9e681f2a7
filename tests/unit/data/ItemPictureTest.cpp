// A picture record decoded into the bitmap the windows draw, refused when it is too large or
// cannot be decoded, and its temporary file kept exactly as long as the picture: on every
// platform. How a missing or full temporary folder is met is in ItemPictureTempFolderTest.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "DataTestSupport.h"

namespace {

// Rows differ strongly, so that a flipped bitmap shows; within a row colour varies slowly.
DWORD RowColours(int x, int y) {
    static const DWORD rows[] = {0xE01010, 0x10E010, 0x1010E0, 0xE0E010, 0x10E0E0};
    return rows[y % 5] + (DWORD)(x * 2);
}
DWORD Grey(int, int) {
    return 0x808080;
}
DWORD Red(int, int) {
    return 0xFF0000;
}

struct LoadedPicture {
    std::unique_ptr<CCollectionItem> item;
    std::string stderrText;
};

// Loads one item whose picture record holds `jpeg`, with a placeholder list after it.
LoadedPicture LoadPicture(const CScopedTempDir& dir, const std::vector<BYTE>& jpeg) {
    ITEM_RECORD record = MakeItem("pic");
    record.bPicture = TRUE;
    record.jpeg = jpeg;
    CCollectionWriter writer;
    writer.AddItem(record);
    CCollectionFile file;
    EXPECT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    testing::internal::CaptureStderr();
    LoadedPicture result;
    result.item.reset(file.LoadItem(0));
    result.stderrText = testing::internal::GetCapturedStderr();
    return result;
}

// Checks the 24-bit bottom-up layout: scanline k (from the top of the JPEG) is row k in
// memory, blue-green-red, rows padded with zeros to a multiple of 4 bytes.
void ExpectLayout(CItemPicture* picture, int w, int h, DWORD (*colourAt)(int, int),
                  const char* what) {
    ASSERT_NE(picture, nullptr) << what;
    BITMAP bm = {};
    ASSERT_GT(picture->GetBitmap(&bm), 0) << what;
    EXPECT_EQ(bm.bmWidth, w) << what;
    EXPECT_EQ(bm.bmHeight, h) << what;
    EXPECT_EQ(bm.bmBitsPixel, 24) << what;
    const int stride = (w * 3 + 3) / 4 * 4;
    EXPECT_EQ(bm.bmWidthBytes, stride) << what;
    ASSERT_NE(bm.bmBits, nullptr) << what;
    const BYTE* bits = static_cast<const BYTE*>(bm.bmBits);
    for (int k = 0; k < h; k++) {
        const BYTE* row = bits + (size_t)k * (size_t)stride;
        for (int x = 0; x < w; x++) {
            const DWORD rgb = colourAt(x, k);
            EXPECT_NEAR(row[3 * x + 0], (int)(rgb & 0xFF), 8)
                << what << " x " << x << " scanline " << k;
            EXPECT_NEAR(row[3 * x + 1], (int)((rgb >> 8) & 0xFF), 8)
                << what << " x " << x << " scanline " << k;
            EXPECT_NEAR(row[3 * x + 2], (int)(rgb >> 16), 8)
                << what << " x " << x << " scanline " << k;
        }
        for (int i = w * 3; i < stride; i++)
            EXPECT_EQ(row[i], 0) << what << " padding of scanline " << k;
    }
}

std::vector<BYTE> WithClaimedSize(std::vector<BYTE> jpeg, int w, int h) {
    for (size_t i = 0; i + 8 < jpeg.size(); i++) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = (BYTE)(h >> 8), jpeg[i + 6] = (BYTE)h;
            jpeg[i + 7] = (BYTE)(w >> 8), jpeg[i + 8] = (BYTE)w;
            break;
        }
    }
    return jpeg;
}

} // namespace

TEST(ItemPicture, DecodesIntoBottomUpRowsOfBlueGreenRed) {
    CScopedTempDir dir;
    struct Case {
        const char* what;
        int w, h;
        DWORD (*colourAt)(int, int);
        JPEG_FIXTURE_KIND kind;
        bool bProgressive;
    } cases[] = {
        {"1x1", 1, 1, Red, JPEG_RGB, false},
        {"3 wide", 3, 5, RowColours, JPEG_RGB, false},
        {"4 wide", 4, 5, RowColours, JPEG_RGB, false},
        {"odd size", 17, 9, RowColours, JPEG_RGB, false},
        {"progressive", 13, 10, RowColours, JPEG_RGB, true},
        {"greyscale", 3, 2, Grey, JPEG_GREY, false},
        {"CMYK", 5, 3, Red, JPEG_CMYK, false},
    };
    for (const Case& c : cases) {
        LoadedPicture loaded =
            LoadPicture(dir, MakeJpeg(c.w, c.h, c.colourAt, c.kind, c.bProgressive));
        ASSERT_NE(loaded.item, nullptr) << c.what;
        ExpectLayout(loaded.item->GetPicture(), c.w, c.h, c.colourAt, c.what);
        EXPECT_EQ(loaded.item->GetImageList().GetSafeHandle(), nullptr) << c.what;
    }
}

TEST(ItemPicture, UndecodablePicturesLeaveNoBitmapAndTheProgramGoesOn) {
    CScopedTempDir dir;
    const std::vector<BYTE> good = MakeJpeg(16, 16, RowColours);
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        const char* message;
    } cases[] = {
        {"empty", {}, "Empty input file"},
        {"garbage", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'}, "Not a JPEG file"},
        {"header only", std::vector<BYTE>(good.begin(), good.begin() + 20), ""},
        {"claims 60000 x 60000", WithClaimedSize(good, 60000, 60000), "60000 x 60000"},
    };
    for (const Case& c : cases) {
        LoadedPicture loaded = LoadPicture(dir, c.bytes);
        ASSERT_NE(loaded.item, nullptr) << c.what;
        EXPECT_EQ(loaded.item->GetPicture(), nullptr) << c.what;
        EXPECT_NE(loaded.stderrText.find(c.message), std::string::npos)
            << c.what << ": " << loaded.stderrText;
        EXPECT_FALSE(loaded.stderrText.empty()) << c.what;
        EXPECT_EQ(loaded.item->m_picture.GetTempFiles().GetSize(), 1) << c.what;
        loaded.item.reset();
        EXPECT_TRUE(dir.Files().empty()) << c.what;
    }
}

TEST(ItemPicture, TruncatedDataDecodesWithAWarning) {
    CScopedTempDir dir;
    const std::vector<BYTE> good = MakeJpeg(32, 32, RowColours);
    LoadedPicture loaded =
        LoadPicture(dir, std::vector<BYTE>(good.begin(), good.begin() + (long)good.size() / 2));
    ASSERT_NE(loaded.item, nullptr);
    EXPECT_NE(loaded.item->GetPicture(), nullptr);
    EXPECT_NE(loaded.stderrText.find("Premature end"), std::string::npos) << loaded.stderrText;
}

TEST(ItemPicture, SizeLimitRefusesBeforeDecoding) {
    CScopedTempDir dir;
    const ULONGLONG saved = CItemPicture::GetMaxPixelBytes();
    CItemPicture::SetMaxPixelBytes(12 * 4); // a 4 x 4 picture fits exactly, 5 x 4 does not
    LoadedPicture fits = LoadPicture(dir, MakeJpeg(4, 4, Red));
    LoadedPicture refused = LoadPicture(dir, MakeJpeg(5, 4, Red));
    CItemPicture::SetMaxPixelBytes(saved);
    EXPECT_NE(fits.item->GetPicture(), nullptr);
    EXPECT_EQ(refused.item->GetPicture(), nullptr);
    EXPECT_NE(refused.stderrText.find("5 x 4"), std::string::npos) << refused.stderrText;
}

TEST(ItemPicture, TemporaryFilesLiveExactlyAsLongAsTheirPicture) {
    CScopedTempDir dir;
    ITEM_RECORD record = MakeItem("pic");
    record.bPicture = TRUE;
    record.jpeg = MakeJpeg(8, 8, RowColours);
    CCollectionWriter writer;
    writer.AddItem(record);
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);

    std::unique_ptr<CCollectionItem> first(file.LoadItem(0));
    ASSERT_EQ(dir.Files().size(), 1u);
    const CString path = first->m_picture.GetTempFiles()[0];
    const std::filesystem::path temp(path.GetString());
    EXPECT_TRUE(std::filesystem::equivalent(temp.parent_path(), dir.Path())) << path.GetString();
    EXPECT_EQ(temp.filename().string().substr(0, 3), "emE") << path.GetString();
    EXPECT_EQ(ReadFileBytes(path.GetString()), record.jpeg);

    std::unique_ptr<CCollectionItem> second(file.LoadItem(0));
    EXPECT_EQ(dir.Files().size(), 2u);
    first.reset();
    EXPECT_EQ(dir.Files().size(), 1u);
    second.reset();
    EXPECT_TRUE(dir.Files().empty());
}
