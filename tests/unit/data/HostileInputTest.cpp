// Hostile collections made small: many entries on one huge record, 1-bit image lists, pictures
// in many scans. The pixel budget is set low, so that no test needs gigabytes. They run on
// every platform; the address-space cases are in HostileRecordsTest.cpp.
#include <gtest/gtest.h>

#include <memory>

#include "DataTestSupport.h"
#include "data/JpegDecoder.h"
#include "framework/gdi/PixelMemory.h"
#include "support/CraftedFiles.h"

namespace {

// The budget for one test: `nBytes` more than what is held already.
class CBudgetScope {
public:
    explicit CBudgetScope(uint64_t nBytes) : m_nSaved(CPixelBudget::GetLimit()) {
        CPixelBudget::SetLimit(CPixelBudget::GetUsed() + nBytes);
    }
    ~CBudgetScope() { CPixelBudget::SetLimit(m_nSaved); }
    CBudgetScope(const CBudgetScope&) = delete;
    CBudgetScope& operator=(const CBudgetScope&) = delete;

private:
    uint64_t m_nSaved;
};

struct LOADED {
    std::vector<std::unique_ptr<CCollectionItem>> items;
    std::string stderrText;
};

LOADED LoadEntries(CCollectionFile& file, int n) {
    LOADED loaded;
    testing::internal::CaptureStderr();
    for (int i = 0; i < n; i++)
        loaded.items.emplace_back(file.LoadItem(i));
    loaded.stderrText = testing::internal::GetCapturedStderr();
    return loaded;
}

int CountPictures(const LOADED& loaded) {
    int n = 0;
    for (const auto& item : loaded.items)
        n += item && item->GetPicture() ? 1 : 0;
    return n;
}

} // namespace

TEST(PixelBudget, PicturesThatWouldPassItAreRefusedAndItsBytesComeBack) {
    CScopedTempDir dir;
    CRAFTED_COLLECTION crafted;
    crafted.kind = CRAFTED_PICTURES;
    crafted.w = 100, crafted.h = 60; // 300 bytes a row
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(MakeCraftedCollection(crafted), dir).c_str()), 1);
    // The first picture also makes the few bytes the framework keeps for good.
    delete file.LoadItem(0);
    const uint64_t picture = 300 * 60;
    CBudgetScope budget(picture * 5 / 2);
    const uint64_t before = CPixelBudget::GetUsed();

    // The thumbnails page: eight entries on the same record.
    LOADED page = LoadEntries(file, 8);
    EXPECT_EQ(CountPictures(page), 2);
    EXPECT_EQ(CPixelBudget::GetUsed(), before + 2 * picture);
    EXPECT_NE(page.stderrText.find(
                  "100 x 60 pixels needs 18000 bytes, more than the 9000 left of the pixel budget"),
              std::string::npos)
        << page.stderrText;
    for (const auto& item : page.items)
        ASSERT_NE(item, nullptr);

    // A picture given back makes room for the next one.
    page.items[0].reset();
    LOADED next = LoadEntries(file, 1);
    EXPECT_EQ(CountPictures(next), 1);
    page.items.clear();
    next.items.clear();
    EXPECT_EQ(CPixelBudget::GetUsed(), before);
}

TEST(PixelBudget, OneBitImageListsAreChargedAtTheirDecodedSizeAndCopiesShareThem) {
    CScopedTempDir dir;
    CRAFTED_COLLECTION crafted;
    crafted.kind = CRAFTED_IMAGE_LIST;
    crafted.w = 64, crafted.h = 32, crafted.nImages = 4;
    CCollectionFile file;
    ASSERT_EQ(file.Open(WriteCollection(MakeCraftedCollection(crafted), dir).c_str()), 1);
    const uint64_t list = 64 * 32 * 4 * 5 + 4; // four bytes a pixel, one of mask, one per image
    CBudgetScope budget(list * 3 / 2);
    const uint64_t before = CPixelBudget::GetUsed();

    LOADED loaded = LoadEntries(file, 2);
    const CImageList& first = loaded.items[0]->GetImageList();
    ASSERT_EQ(first.GetImageCount(), 4);
    EXPECT_EQ(loaded.items[1]->GetImageList().GetImageCount(), 0);
    EXPECT_NE(loaded.stderrText.find("image list of 4 images of 64 x 32 pixels"), std::string::npos)
        << loaded.stderrText;
    EXPECT_EQ(CPixelBudget::GetUsed(), before + list);
    // The top row of each image is white, the rest black.
    const IMAGELIST_DATA* data = first.GetData();
    EXPECT_EQ(data->PixelAt(2, 5, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(data->PixelAt(2, 5, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(data->PixelAt(3, 63, 31) & 0xFFFFFF, 0u);

    // What the windows do with it: a copy for the page, another for the cell.
    CImageList pageCopy, cellCopy;
    ASSERT_NE(loaded.items[0]->CopyImageList(&pageCopy), 0);
    ASSERT_TRUE(cellCopy.Create(&pageCopy));
    EXPECT_EQ(cellCopy.GetData(), data);
    EXPECT_EQ(CPixelBudget::GetUsed(), before + list);
    loaded.items.clear();
    EXPECT_EQ(cellCopy.GetImageCount(), 4);
    EXPECT_EQ(CPixelBudget::GetUsed(), before + list);
    pageCopy.DeleteImageList();
    cellCopy.DeleteImageList();
    EXPECT_EQ(CPixelBudget::GetUsed(), before);
}

TEST(DecodeWork, APictureInMoreScansThanTheWorkBoundIsRefusedBeforeThem) {
    CScopedTempDir dir;
    // The repeated scan carries all three components: 3 x 256 x 256 blocks.
    const ULONGLONG blocksPerScan = 3ULL * 256 * 256;
    const int nAllowed = (int)(CJpegDecoder::MAX_SCAN_BLOCKS / blocksPerScan);
    struct Case {
        int nScans;
        bool bDecodes;
    } cases[] = {{nAllowed, true}, {nAllowed + 1, false}};
    for (const Case& c : cases) {
        CRAFTED_COLLECTION crafted;
        crafted.kind = CRAFTED_SCANS;
        crafted.nEntries = 1;
        crafted.w = crafted.h = 2048;
        crafted.nScans = c.nScans;
        CCollectionFile file;
        ASSERT_EQ(file.Open(WriteCollection(MakeCraftedCollection(crafted), dir).c_str()), 1);
        LOADED loaded = LoadEntries(file, 1);
        EXPECT_EQ(CountPictures(loaded), c.bDecodes ? 1 : 0) << c.nScans << " scans";
        const std::string refusal =
            "2048 x 2048 pixels in " + std::to_string(nAllowed + 1) + " or more scans";
        EXPECT_EQ(loaded.stderrText.find(refusal) != std::string::npos, !c.bDecodes)
            << loaded.stderrText;
    }
}
