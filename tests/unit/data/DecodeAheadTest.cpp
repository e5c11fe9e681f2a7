// An item decoded ahead of being shown: taken, it is the item a load gives, with its temporary
// file made only then; dropped at any moment, it leaves no pixels, no file and no message; an
// item that cannot be read or decoded is left to the usual load.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "DataTestSupport.h"
#include "data/DecodeAhead.h"
#include "data/JpegDecoder.h"
#include "framework/gdi/PixelMemory.h"
#include "framework/system/TempFile.h"

namespace {

// A band of red across the top rows, a ramp elsewhere: pictures that differ per item.
DWORD Banded(int x, int y, int nItem) {
    return y < 16 ? 0xE00000 : 0x000080 + (DWORD)(((x + 13 * nItem) / 4) % 64) * 0x100;
}

ITEM_RECORD PictureItem(int nItem, int w, int h, bool bProgressive) {
    ITEM_RECORD record = MakeItem("pic " + std::to_string(nItem));
    record.bPicture = TRUE;
    record.jpeg = MakeJpeg(
        w, h, [nItem](int x, int y) { return Banded(x, y, nItem); }, JPEG_RGB, bProgressive);
    return record;
}

std::vector<BYTE> Bits(CItemPicture* picture) {
    BITMAP bm = {};
    if (picture == nullptr || !picture->GetBitmap(&bm))
        return {};
    const BYTE* p = static_cast<const BYTE*>(bm.bmBits);
    return std::vector<BYTE>(p, p + (size_t)bm.bmWidthBytes * (size_t)bm.bmHeight);
}

} // namespace

TEST(DecodeAhead, TakenItIsTheItemALoadGivesAndOnlyThenHasItsFile) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.AddItem(PictureItem(0, 640, 480, false));
    writer.AddItem(PictureItem(1, 480, 640, true));
    ITEM_RECORD listOnly = MakeItem("list");
    listOnly.bImageList = TRUE;
    listOnly.imageList.cx = listOnly.imageList.cy = 1;
    listOnly.imageList.nImages = 1;
    listOnly.imageList.pixels = {0xFF00FF00};
    writer.AddItem(listOnly);
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    const CSize box(200, 150);
    const int nFiles = AfxGetTempFileCount();
    CDecodeAhead ahead;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i);
        ahead.Start(file, i, box);
        EXPECT_TRUE(ahead.Holds(i, box));
        EXPECT_FALSE(ahead.Holds(i, CSize(box.cx + 1, box.cy)));
        EXPECT_FALSE(ahead.Holds(i + 1, box));
        ahead.Wait();
        EXPECT_EQ(AfxGetTempFileCount(), nFiles);
        EXPECT_TRUE(dir.Files().empty());
        std::unique_ptr<CCollectionItem> taken(ahead.Take(file));
        ASSERT_NE(taken, nullptr);
        EXPECT_EQ(ahead.GetIndex(), -1);
        std::unique_ptr<CCollectionItem> loaded(file.LoadItem(i, box));
        EXPECT_EQ(taken->m_strName, loaded->m_strName);
        EXPECT_EQ(taken->m_picture.GetFullSize(), loaded->m_picture.GetFullSize());
        EXPECT_EQ(Bits(taken->GetPicture()), Bits(loaded->GetPicture()));
        EXPECT_EQ(taken->GetImageList().GetImageCount(), loaded->GetImageList().GetImageCount());
        const int nPictures = taken->GetPicture() != nullptr ? 2 : 0;
        EXPECT_EQ(AfxGetTempFileCount(), nFiles + nPictures);
    }
    EXPECT_EQ(AfxGetTempFileCount(), nFiles);
}

TEST(DecodeAhead, DroppedAtAnyMomentItLeavesNoPixelsAndNoFile) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.AddItem(PictureItem(0, 2400, 1800, true));
    writer.AddItem(PictureItem(1, 320, 240, false));
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    const uint64_t nUsed = CPixelBudget::GetUsed();
    CDecodeAhead ahead;
    // Dropped at once (in the middle of a full decode), after a while, and replaced.
    for (int nWaitMs : {0, 5, 20}) {
        ahead.Start(file, 0, CSize(0, 0));
        std::this_thread::sleep_for(std::chrono::milliseconds(nWaitMs));
        ahead.Drop();
        EXPECT_EQ(ahead.GetIndex(), -1);
        EXPECT_EQ(CPixelBudget::GetUsed(), nUsed) << nWaitMs;
    }
    ahead.Start(file, 0, CSize(0, 0));
    ahead.Start(file, 1, CSize(0, 0));
    EXPECT_FALSE(ahead.Holds(0, CSize(0, 0)));
    ahead.Wait();
    EXPECT_EQ(CPixelBudget::GetUsed() - nUsed, 320u * 3 * 240) << "one picture held, no more";
    ahead.Drop();
    EXPECT_EQ(CPixelBudget::GetUsed(), nUsed);
    EXPECT_TRUE(dir.Files().empty());
}

TEST(DecodeAhead, AnItemThatFailsIsLeftToTheUsualLoadAndSaysNothing) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    ITEM_RECORD broken = MakeItem("broken");
    broken.bPicture = TRUE;
    broken.jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x99};
    writer.AddItem(broken);
    // A readable name, then a text whose length runs past the end of the file.
    writer.AddRecordBytes({6, 'T', 'e', 'a', 'p', 'o', 't', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(writer, dir).c_str()), 1);
    CDecodeAhead ahead;
    testing::internal::CaptureStderr();
    ahead.Start(file, 0, CSize(100, 100));
    EXPECT_TRUE(ahead.Holds(0, CSize(100, 100)));
    EXPECT_EQ(ahead.Take(file), nullptr);
    EXPECT_EQ(ahead.GetIndex(), -1);
    for (int nIndex : {1, 2, -1}) {
        ahead.Start(file, nIndex, CSize(100, 100));
        EXPECT_EQ(ahead.GetIndex(), -1) << nIndex;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(dir.Files().empty());
}

TEST(DecodeAhead, ACancelledDecodeStopsWithoutAMessage) {
    const std::vector<BYTE> jpeg = MakeJpeg(64, 48, [](int x, int y) { return Banded(x, y, 0); });
    std::unique_ptr<BYTE[]> rows;
    const JPEG_ROWS_ALLOCATOR allocate = [](void* pContext, int, int nHeight, int nStride) {
        auto* p = static_cast<std::unique_ptr<BYTE[]>*>(pContext);
        p->reset(new BYTE[(size_t)nStride * (size_t)nHeight]);
        return p->get();
    };
    std::atomic<bool> bCancel{false};
    std::string messages;
    JPEG_DECODE_REQUEST request;
    request.pCancel = &bCancel;
    request.pMessages = &messages;
    EXPECT_TRUE(
        CJpegDecoder::DecodeBytes(jpeg.data(), jpeg.size(), 1 << 20, allocate, &rows, &request));
    bCancel = true;
    EXPECT_FALSE(
        CJpegDecoder::DecodeBytes(jpeg.data(), jpeg.size(), 1 << 20, allocate, &rows, &request));
    EXPECT_EQ(messages, "");
    // A message the library gives is kept for the caller, not written.
    bCancel = false;
    testing::internal::CaptureStderr();
    CJpegDecoder::DecodeBytes(jpeg.data(), jpeg.size() / 2, 1 << 20, allocate, &rows, &request);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(messages.find("Premature end of JPEG file"), std::string::npos) << messages;
}
