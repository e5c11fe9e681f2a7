// Stored pictures get a restart marker every MCU row, without loss, so that the viewer can
// decode them in stripes; pictures that cannot or need not be rewritten stay as they are.
#include <algorithm>
#include <cstdio>

#include <jpeglib.h>

#include "PackFixture.h"
#include "data/JpegDecoder.h"
#include "framework/system/ParallelJobs.h"
#include "support/TestFixtures.h"
#include "tools/pack/CollectionPacker.h"
#include "tools/pack/FolderSource.h"
#include "tools/pack/RowRestarts.h"
#include "tools/pack/ViewerFileReader.h"

namespace {

// A band down the right side, rows that differ; sizes off the 16-pixel grid.
RGBA_IMAGE Banded(int w, int h) {
    RGBA_IMAGE image{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.pixels.push_back(x >= w - 12 ? 0xFFE01010u
                                               : 0xFF000000u | (DWORD)(y * 5 % 256) << 16 |
                                                     (DWORD)((x * 3 + y) % 256) << 8 | 0x40);
    return image;
}

std::vector<BYTE> Progressive(int w, int h) {
    return MakeJpeg(
        w, h, [](int, int) { return 0x808080u; }, JPEG_RGB, true);
}

struct LAYOUT {
    unsigned nRestartInterval = 0, nMcusPerRow = 0, nMcuRows = 0;
    bool bProgressive = false;
};

LAYOUT ReadLayout(const std::vector<BYTE>& jpeg) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), (unsigned long)jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    LAYOUT layout{cinfo.restart_interval, cinfo.MCUs_per_row, cinfo.MCU_rows_in_scan,
                  cinfo.progressive_mode != 0};
    jpeg_destroy_decompress(&cinfo);
    return layout;
}

size_t CountRestartMarkers(const std::vector<BYTE>& jpeg) {
    size_t n = 0;
    for (size_t i = 0; i + 1 < jpeg.size(); i++)
        n += jpeg[i] == 0xFF && jpeg[i + 1] >= 0xD0 && jpeg[i + 1] <= 0xD7;
    return n;
}

struct PIXELS {
    std::vector<BYTE> rows;
};

BYTE* Allocate(void* pContext, int, int nHeight, int nStride) {
    PIXELS* p = static_cast<PIXELS*>(pContext);
    p->rows.resize((size_t)nStride * (size_t)nHeight);
    return p->rows.data();
}

std::vector<BYTE> DecodeWhole(const std::vector<BYTE>& jpeg, JPEG_DECODE_REQUEST* pRequest) {
    PIXELS p;
    EXPECT_TRUE(
        CJpegDecoder::DecodeBytes(jpeg.data(), jpeg.size(), 1 << 28, Allocate, &p, pRequest));
    return p.rows;
}

bool Contains(const std::vector<BYTE>& bytes, const std::vector<BYTE>& part) {
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

const std::vector<BYTE> ICC_SEGMENT = {0xFF, 0xE2, 0x00, 0x14, 'I', 'C', 'C', '_', 'P', 'R', 'O',
                                       'F',  'I',  'L',  'E',  0,   1,   1,   'p', 'r', 'o', 'f'};
const std::vector<BYTE> COMMENT = {0xFF, 0xFE, 0x00, 0x07, 'h', 'e', 'l', 'l', 'o'};

std::vector<BYTE> WithSegments(const std::vector<BYTE>& jpeg) {
    std::vector<BYTE> out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), ICC_SEGMENT.begin(), ICC_SEGMENT.end());
    out.insert(out.end(), COMMENT.begin(), COMMENT.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

class RowRestartsTest : public PackFixture {};

} // namespace

// The same pixels, a restart interval of one MCU row and a marker between every two rows, the
// colour profile and comment kept; no larger, for the Huffman tables are made for the picture.
TEST_F(RowRestartsTest, RestartsEveryMcuRowWithTheSamePixels) {
    const std::vector<BYTE> jpeg = WithSegments(CPictureFile::EncodeJpeg(Banded(203, 77), 90));
    ASSERT_EQ(ReadLayout(jpeg).nRestartInterval, 0u);
    const std::vector<BYTE> stored = CRowRestarts::Add(jpeg);
    const LAYOUT layout = ReadLayout(stored);
    EXPECT_EQ(layout.nMcusPerRow, 13u); // 203 / 16, rounded up
    EXPECT_EQ(layout.nRestartInterval, layout.nMcusPerRow);
    EXPECT_EQ(CountRestartMarkers(stored), layout.nMcuRows - 1);
    EXPECT_TRUE(DecodeWhole(stored, nullptr) == DecodeWhole(jpeg, nullptr));
    EXPECT_TRUE(Contains(stored, ICC_SEGMENT));
    EXPECT_TRUE(Contains(stored, COMMENT));
    EXPECT_LE(stored.size(), jpeg.size());
}

// A picture that already restarts, a progressive one, one cut short, bytes that are no JPEG:
// all kept byte for byte, so that a collection extracted and built again stays the same.
TEST_F(RowRestartsTest, LeavesWhatItNeedNotOrCannotRewrite) {
    const std::vector<BYTE> stored =
        CRowRestarts::Add(CPictureFile::EncodeJpeg(Banded(64, 48), 90));
    ASSERT_NE(ReadLayout(stored).nRestartInterval, 0u);
    const std::vector<BYTE> progressive = Progressive(64, 48);
    ASSERT_TRUE(ReadLayout(progressive).bProgressive);
    const std::vector<BYTE> plain = CPictureFile::EncodeJpeg(Banded(64, 48), 90);
    const std::vector<BYTE> truncated(plain.begin(), plain.begin() + (long)plain.size() / 2);
    const std::vector<BYTE> noJpeg = {'n', 'o', 't', ' ', 'a', ' ', 'J', 'P', 'E', 'G'};
    for (const std::vector<BYTE>* p : {&stored, &progressive, &truncated, &noJpeg})
        EXPECT_TRUE(CRowRestarts::Add(*p) == *p);
}

// What build stores restarts every MCU row, and the viewer decodes it in stripes.
TEST_F(RowRestartsTest, BuildStoresPicturesTheViewerCanStripe) {
    std::filesystem::create_directories(Path("f"));
    const std::vector<BYTE> jpeg = CPictureFile::EncodeJpeg(Banded(320, 256), 90);
    WriteText(Path("f/a.jpg"), std::string(jpeg.begin(), jpeg.end()));
    CCollectionPacker(CFolderSource::Load(Path("f"))).Pack(m_viewer, Path("out"), false);
    CViewerFileReader reader(Path("out"));
    ASSERT_EQ(reader.GetItemCount(), 1);
    const VIEWER_ITEM item = reader.ReadItem(0);
    const LAYOUT layout = ReadLayout(item.jpeg);
    EXPECT_EQ(layout.nRestartInterval, layout.nMcusPerRow);
    JPEG_DECODE_REQUEST request;
    request.nMaxThreads = 4;
    request.nMinStripedPixels = 0;
    const std::vector<BYTE> striped = DecodeWhole(item.jpeg, &request);
    if (AfxGetParallelThreads() > 1) {
        EXPECT_GT(request.nStripesUsed, 1);
    }
    EXPECT_TRUE(striped == DecodeWhole(item.jpeg, nullptr));
}
