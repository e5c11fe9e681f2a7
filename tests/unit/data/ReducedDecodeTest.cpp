#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "DataTestSupport.h"
#include "data/JpegDecoder.h"
#include "framework/gdi/DC.h"
#include "framework/gdi/PixelMemory.h"
#include "framework/system/MessageSink.h"
#include "framework/system/TempFile.h"
#include "res/ProgramResources.h"
#include "support/TempFolderVariable.h"

namespace {

// The rectangle the windows draw a picture of w x h in, shrunk to fit a box: their placement
// arithmetic, truncating, in double precision.
CSize DrawnSize(int w, int h, int boxW, int boxH) {
    if (w <= boxW && h <= boxH)
        return CSize(w, h);
    if (w >= h) {
        const int hh = (int)(h / ((double)w / boxW));
        return hh <= boxH ? CSize(boxW, hh) : CSize((int)(w / ((double)h / boxH)), boxH);
    }
    const int ww = (int)(w / ((double)h / boxH));
    return ww <= boxW ? CSize(ww, boxH) : CSize(boxW, (int)(h / ((double)w / boxW)));
}

int ScaledSide(int side, int k) {
    return (side * k + 7) / 8;
}

// A band of red across the top of the picture; everything else a slow blue-green ramp.
DWORD TopBand(int x, int y) {
    return y < 24 ? 0xE00000 : 0x0000A0 + (DWORD)((x / 8) % 64) * 0x100;
}

// A photograph-like picture: smooth gradients, an edge and some fine texture.
DWORD PhotoLike(int x, int y) {
    const int r = (x * 255 / 1600 + (int)(20 * std::sin(y / 9.0))) & 0xFF;
    const int g = (y * 255 / 1200 + (x > 700 ? 40 : 0)) & 0xFF;
    const int b = (128 + (int)(60 * std::sin((x + y) / 23.0)) + ((x * 7 + y * 13) % 9)) & 0xFF;
    return (DWORD)(r << 16 | g << 8 | b);
}

std::unique_ptr<CCollectionItem> LoadOne(const CScopedTempDir& dir, const std::vector<BYTE>& jpeg,
                                         CSize box, const char* name = "viewer") {
    ITEM_RECORD record = MakeItem("pic");
    record.bPicture = TRUE;
    record.jpeg = jpeg;
    CCollectionWriter writer;
    writer.AddItem(record);
    CCollectionFile file;
    EXPECT_EQ(file.Open(WriteCollection(writer, dir, name).c_str()), 1);
    return std::unique_ptr<CCollectionItem>(file.LoadItem(0, box));
}

// The picture drawn into a box the way the windows draw it: HALFTONE, to its drawn size.
std::vector<COLORREF> DrawScaled(CItemPicture* picture, CSize fullSize, CSize box) {
    const CSize drawn = DrawnSize(fullSize.cx, fullSize.cy, box.cx, box.cy);
    BITMAP bm = {};
    picture->GetBitmap(&bm);
    CDC src, dst;
    src.CreateCompatibleDC(nullptr);
    dst.CreateCompatibleDC(nullptr);
    CBitmap target;
    target.CreateCompatibleBitmap(&src, drawn.cx, drawn.cy);
    CBitmap* pOldSrc = src.SelectObject(picture);
    CBitmap* pOldDst = dst.SelectObject(&target);
    dst.SetStretchBltMode(HALFTONE);
    dst.StretchBlt(0, 0, drawn.cx, drawn.cy, &src, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < drawn.cy; y++)
        for (int x = 0; x < drawn.cx; x++)
            pixels.push_back(dst.GetPixel(x, y));
    src.SelectObject(pOldSrc);
    dst.SelectObject(pOldDst);
    return pixels;
}

double Psnr(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); i++)
        for (int shift : {0, 8, 16}) {
            const double d = (double)((a[i] >> shift) & 0xFF) - (double)((b[i] >> shift) & 0xFF);
            sum += d * d;
        }
    const double mse = sum / (3.0 * (double)a.size());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

std::vector<BYTE> Bits(CItemPicture* picture) {
    BITMAP bm = {};
    picture->GetBitmap(&bm);
    const BYTE* p = static_cast<const BYTE*>(bm.bmBits);
    return std::vector<BYTE>(p, p + (size_t)bm.bmWidthBytes * (size_t)bm.bmHeight);
}

} // namespace

TEST(ReducedDecode, TheScaleIsTheSmallestThatStillCoversTheDrawnPicture) {
    const struct {
        int w, h, boxW, boxH, k;
    } cases[] = {
        {4000, 3000, 160, 120, 1}, {4000, 3000, 800, 475, 2}, {2000, 1500, 800, 475, 3},
        {1000, 750, 800, 475, 6},  {3000, 4000, 160, 200, 1}, {1280, 960, 160, 120, 1},
        {300, 400, 800, 475, 8},   {800, 475, 800, 475, 8},   {801, 475, 800, 475, 8},
        {4000, 3000, 0, 0, 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.k, CJpegDecoder::ChooseScale(c.w, c.h, c.boxW, c.boxH))
            << c.w << " x " << c.h << " in " << c.boxW;

    // Over many sizes and the program's three boxes: never smaller than what is drawn, and
    // the next smaller scale would give no more than what is drawn, or less.
    const CSize boxes[] = {CSize(160, 200), CSize(800, 475), CSize(140, 200)};
    for (const CSize& box : boxes) {
        for (int w = 17; w < 5000; w += 97) {
            for (int h = 13; h < 5000; h += 131) {
                const int k = CJpegDecoder::ChooseScale(w, h, box.cx, box.cy);
                const CSize drawn = DrawnSize(w, h, box.cx, box.cy);
                ASSERT_GE(ScaledSide(w, k), drawn.cx) << w << " x " << h << " in " << box.cx;
                ASSERT_GE(ScaledSide(h, k), drawn.cy) << w << " x " << h << " in " << box.cx;
                if (k > 1) {
                    ASSERT_TRUE(ScaledSide(w, k - 1) <= drawn.cx ||
                                ScaledSide(h, k - 1) <= drawn.cy)
                        << w << " x " << h << " in " << box.cx;
                }
                if (w <= box.cx && h <= box.cy) {
                    ASSERT_EQ(8, k) << "small pictures keep their size";
                }
            }
        }
    }
}

TEST(ReducedDecode, KeepsTheFullSizeAndTheRowOrderAtEveryScale) {
    CScopedTempDir dir;
    const std::vector<BYTE> jpeg = MakeJpeg(400, 304, TopBand);
    for (int k = 1; k <= 8; k++) {
        // A box the picture needs exactly k/8 of its size to cover.
        const CSize box(400 * k / 8, 304 * k / 8);
        std::unique_ptr<CCollectionItem> item = LoadOne(dir, jpeg, k == 8 ? CSize(0, 0) : box);
        ASSERT_NE(item->GetPicture(), nullptr) << k;
        EXPECT_EQ(CSize(400, 304), item->m_picture.GetFullSize()) << k;
        BITMAP bm = {};
        item->GetPicture()->GetBitmap(&bm);
        EXPECT_EQ(ScaledSide(400, k), bm.bmWidth) << k;
        EXPECT_EQ(ScaledSide(304, k), bm.bmHeight) << k;
        // The band, the first scanlines, is the first row in memory: the bottom of the bitmap.
        const BYTE* first = static_cast<const BYTE*>(bm.bmBits);
        const BYTE* last = first + (size_t)(bm.bmHeight - 1) * (size_t)bm.bmWidthBytes;
        EXPECT_GT(first[2], 180) << k;
        EXPECT_LT(first[0], 60) << k;
        EXPECT_LT(last[2], 60) << k;
        EXPECT_GT(last[0], 120) << k;
        EXPECT_EQ(1, item->m_picture.GetTempFiles().GetSize());
    }
}

// A 1/8 decode averages whole 8 x 8 blocks before the halftone averages again, so a cell
// differs from the full path a little more than the image area does.
TEST(ReducedDecode, DrawnLikeTheFullDecodeWithin35DecibelsInACellAnd40InTheImageArea) {
    CScopedTempDir dir;
    const std::vector<BYTE> jpeg = MakeJpeg(1600, 1200, PhotoLike);
    std::unique_ptr<CCollectionItem> full = LoadOne(dir, jpeg, CSize(0, 0), "full");
    ASSERT_NE(full->GetPicture(), nullptr);
    for (const CSize& box : {CSize(160, 200), CSize(800, 475), CSize(140, 200)}) {
        std::unique_ptr<CCollectionItem> reduced = LoadOne(dir, jpeg, box, "reduced");
        ASSERT_NE(reduced->GetPicture(), nullptr);
        BITMAP bm = {};
        reduced->GetPicture()->GetBitmap(&bm);
        EXPECT_LT(bm.bmWidth, 1600) << box.cx;
        const CSize size = reduced->m_picture.GetFullSize();
        const double psnr = Psnr(DrawScaled(full->GetPicture(), size, box),
                                 DrawScaled(reduced->GetPicture(), size, box));
        EXPECT_GE(psnr, box.cx >= 800 ? 40.0 : 35.0) << "box " << box.cx << " x " << box.cy;
    }
}

TEST(ReducedDecode, EightLoadsInParallelEqualSerialLoadsAndLeaveNoTemporaryFile) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    for (int i = 0; i < 8; i++) {
        ITEM_RECORD record = MakeItem("pic " + std::to_string(i));
        record.bPicture = TRUE;
        record.jpeg = MakeJpeg(
            320 + 16 * i, 240, [i](int x, int y) { return TopBand(x + 40 * i, y); },
            i == 3 ? JPEG_GREY : JPEG_RGB, i == 5);
        writer.AddItem(record);
    }
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    const int filesBefore = AfxGetTempFileCount();
    const CSize box(160, 120);
    {
        std::vector<std::unique_ptr<CCollectionItem>> items;
        file.LoadItems({0, 1, 2, 3, 4, 5, 6, 7, 8}, box, items);
        ASSERT_EQ(9u, items.size());
        EXPECT_EQ(nullptr, items[8]) << "an index outside the table";
        for (int i = 0; i < 8; i++) {
            std::unique_ptr<CCollectionItem> serial(file.LoadItem(i, box));
            ASSERT_NE(items[(size_t)i]->GetPicture(), nullptr) << i;
            EXPECT_EQ(serial->m_strName, items[(size_t)i]->m_strName);
            EXPECT_EQ(serial->m_picture.GetFullSize(), items[(size_t)i]->m_picture.GetFullSize());
            EXPECT_EQ(Bits(serial->GetPicture()), Bits(items[(size_t)i]->GetPicture())) << i;
        }
        EXPECT_EQ(filesBefore + 8, AfxGetTempFileCount());
    }
    EXPECT_EQ(filesBefore, AfxGetTempFileCount());
    EXPECT_TRUE(dir.Files().empty());

    // A budget with room for three bitmaps: three decode, the others go without, and the
    // budget is never passed.
    const uint64_t limit = CPixelBudget::GetLimit(), used = CPixelBudget::GetUsed();
    // Each bitmap is 160 to 216 pixels wide and 120 high (scale 1/2).
    const uint64_t smallest = 160 * 3 * 120, largest = 216 * 3 * 120;
    CPixelBudget::SetLimit(used + 3 * smallest + (smallest - 1));
    ASSERT_LT(largest, 3 * smallest);
    std::vector<std::unique_ptr<CCollectionItem>> items;
    testing::internal::CaptureStderr();
    file.LoadItems({0, 1, 2, 3, 4, 5, 6, 7}, CSize(200, 120), items);
    testing::internal::GetCapturedStderr();
    int decoded = 0;
    for (const auto& item : items)
        decoded += item->GetPicture() ? 1 : 0;
    EXPECT_GE(decoded, 1);
    EXPECT_LE(decoded, 3);
    EXPECT_LE(CPixelBudget::GetUsed(), CPixelBudget::GetLimit());
    items.clear();
    CPixelBudget::SetLimit(limit);
    EXPECT_EQ(used, CPixelBudget::GetUsed());
}

TEST(ReducedDecode, AParallelLoadWithoutATemporaryFileSaysSoOnceAndReadsTheImageLists) {
    RegisterProgramResources();
    CScopedTempDir dir;
    ITEM_RECORD record = MakeItem("pic");
    record.bPicture = TRUE;
    record.jpeg = MakeJpeg(8, 8, TopBand);
    record.bImageList = TRUE;
    record.imageList.cx = record.imageList.cy = 1;
    record.imageList.nImages = 1;
    record.imageList.pixels = {0xFF00FF00};
    CCollectionWriter writer;
    writer.AddItem(record);
    for (int i = 1; i < 4; i++)
        writer.AddEntryFor(0);
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    const std::string deep = dir.Path() + "/" + std::string(250 - dir.Path().size() - 1, 'd');
    ASSERT_TRUE(std::filesystem::create_directory(deep));
    std::string strOldTemp;
    const bool bHadTemp = GetTempFolderVariable(strOldTemp);
    SetTempFolderVariable(deep);
    static std::vector<CString> s_messages;
    s_messages.clear();
    AfxSetMessageSink([](const CString& text) { s_messages.push_back(text); });
    AfxBeginUserAction();
    std::vector<std::unique_ptr<CCollectionItem>> items;
    file.LoadItems({0, 1, 2, 3}, CSize(160, 120), items);
    AfxSetMessageSink(nullptr);
    if (bHadTemp)
        SetTempFolderVariable(strOldTemp);
    else
        ClearTempFolderVariable();
    ASSERT_EQ(1u, s_messages.size());
    for (const auto& item : items) {
        EXPECT_EQ(nullptr, item->GetPicture());
        EXPECT_EQ(1, item->GetImageList().GetImageCount());
        EXPECT_STREQ("pic 0", item->m_strName.GetString());
    }
}
