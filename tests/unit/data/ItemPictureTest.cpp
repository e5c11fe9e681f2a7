#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "DataTestSupport.h"
#include "framework/system/MessageSink.h"
#include "res/ProgramResources.h"

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

std::vector<CString> g_messages;
void CollectMessage(const CString& text) {
    g_messages.push_back(text);
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
    EXPECT_EQ(path.Left((int)dir.Path().size() + 4), CString(dir.Path() + "/emE"));
    EXPECT_EQ(ReadFileBytes(path.GetString()), record.jpeg);

    std::unique_ptr<CCollectionItem> second(file.LoadItem(0));
    EXPECT_EQ(dir.Files().size(), 2u);
    first.reset();
    EXPECT_EQ(dir.Files().size(), 1u);
    second.reset();
    EXPECT_TRUE(dir.Files().empty());
}

// A collection of `n` entries on one record: a picture, then a one-image placeholder list.
CCollectionWriter PictureAndListCollection(int n) {
    ITEM_RECORD record = MakeItem("pic");
    record.bPicture = TRUE;
    record.jpeg = MakeJpeg(8, 8, RowColours);
    record.bImageList = TRUE;
    record.imageList.cx = record.imageList.cy = 1;
    record.imageList.nImages = 1;
    record.imageList.pixels = {0xFF00FF00};
    CCollectionWriter writer;
    writer.AddItem(record);
    for (int i = 1; i < n; i++)
        writer.AddEntryFor(0);
    return writer;
}

TEST(ItemPicture, AnUnusableTemporaryDirectoryGivesWayToTmp) {
    CScopedTempDir dir;
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(PictureAndListCollection(1), dir).c_str()), 1);
    ::setenv("TMPDIR", (dir.Path() + "/missing").c_str(), 1);
    g_messages.clear();
    AfxSetMessageSink(CollectMessage);
    std::unique_ptr<CCollectionItem> item(file.LoadItem(0));
    AfxSetMessageSink(nullptr);
    ASSERT_NE(item->GetPicture(), nullptr);
    EXPECT_TRUE(g_messages.empty());
    ASSERT_EQ(item->m_picture.GetTempFiles().GetSize(), 1);
    const CString path = item->m_picture.GetTempFiles()[0];
    EXPECT_EQ(path.Left(8), CString("/tmp/emE"));
    item.reset();
    EXPECT_NE(::access(path, F_OK), 0);
}

TEST(ItemPicture, NoTemporaryFileIsToldOncePerUserActionAndTheImageListIsTried) {
    RegisterProgramResources();
    CScopedTempDir dir;
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(PictureAndListCollection(3), dir).c_str()), 1);
    // A usable directory whose path leaves no room for a file name.
    const std::string deep = dir.Path() + "/" + std::string(250 - dir.Path().size() - 1, 'd');
    ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
    ::setenv("TMPDIR", deep.c_str(), 1);
    g_messages.clear();
    AfxSetMessageSink(CollectMessage);
    AfxBeginUserAction();
    std::unique_ptr<CCollectionItem> items[3];
    for (int i = 0; i < 2; i++)
        items[i].reset(file.LoadItem(i));
    const size_t afterFirstAction = g_messages.size();
    AfxBeginUserAction();
    items[2].reset(file.LoadItem(2));
    AfxSetMessageSink(nullptr);
    EXPECT_EQ(afterFirstAction, 1u);
    ASSERT_EQ(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[0], "Decompress Image Failed while getting Temporary Path name");
    for (const auto& item : items) {
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetPicture(), nullptr);
        EXPECT_EQ(item->m_picture.GetTempFiles().GetSize(), 0);
        EXPECT_EQ(item->GetImageList().GetImageCount(), 1);
    }
}

TEST(ItemPicture, ATemporaryFileThatCannotBeWrittenSaysWhyAndIsNotADamagedRecord) {
    RegisterProgramResources();
    CScopedTempDir dir;
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(PictureAndListCollection(2), dir).c_str()), 1);
    // A file size limit fails the write as a full disk does.
    rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 100;
    ::signal(SIGXFSZ, SIG_IGN);
    g_messages.clear();
    AfxSetMessageSink(CollectMessage);
    AfxBeginUserAction();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    std::unique_ptr<CCollectionItem> first(file.LoadItem(0)), second(file.LoadItem(1));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, SIG_DFL);
    AfxSetMessageSink(nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetPicture(), nullptr);
    EXPECT_EQ(first->GetImageList().GetImageCount(), 1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_NE(g_messages[0].Find("could not be written: File too large"), -1)
        << g_messages[0].GetString();
    EXPECT_NE(g_messages[0].Find(dir.Path().c_str()), -1) << g_messages[0].GetString();
    first.reset();
    second.reset();
    EXPECT_TRUE(dir.Files().empty());
}
