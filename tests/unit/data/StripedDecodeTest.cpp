// A picture whose restart markers start every MCU row is decoded in stripes on several threads;
// the rows must be those one whole decode gives, and anything that does not fit the layout
// goes to the whole decode.
#include <gtest/gtest.h>

#include <jpeglib.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "data/JpegDecoder.h"
#include "data/JpegStripes.h"
#include "framework/system/ParallelJobs.h"
#include "support/TestFixtures.h"

namespace {

enum SAMPLING { SAMPLING_420, SAMPLING_444, SAMPLING_GREY };

// A band of red down the right side; left of it, every row its own shade.
void Pixel(int x, int y, int w, BYTE* rgb) {
    if (x >= w - w / 8) {
        rgb[0] = 0xE0, rgb[1] = 0x10, rgb[2] = 0x10;
        return;
    }
    rgb[0] = (BYTE)(y * 255 / 700);
    rgb[1] = (BYTE)((x / 4 + y / 3) & 0xFF);
    rgb[2] = (BYTE)(((x * 7) ^ (y * 13)) & 0x7F);
}

std::vector<BYTE> Encode(int w, int h, SAMPLING sampling, bool bRestartRows = true) {
    JPEG_FIXTURE_LAYOUT layout;
    layout.kind = sampling == SAMPLING_GREY ? JPEG_GREY : JPEG_RGB;
    layout.bChromaHalved = sampling == SAMPLING_420;
    layout.bRestartRows = bRestartRows;
    layout.nQuality = 90;
    return MakeJpeg(
        w, h,
        [w](int x, int y) {
            BYTE rgb[3];
            Pixel(x, y, w, rgb);
            return (DWORD)rgb[0] << 16 | (DWORD)rgb[1] << 8 | rgb[2];
        },
        layout);
}

struct ROWS {
    std::vector<BYTE> pixels;
    int nWidth = 0, nHeight = 0, nStride = 0, nAllocations = 0;
    std::atomic<bool>* pCancelOnAllocate = nullptr;
};

BYTE* Allocate(void* pContext, int nWidth, int nHeight, int nStride) {
    ROWS* rows = static_cast<ROWS*>(pContext);
    rows->nAllocations++;
    rows->nWidth = nWidth, rows->nHeight = nHeight, rows->nStride = nStride;
    rows->pixels.assign((size_t)nStride * (size_t)nHeight, 0xCD);
    if (rows->pCancelOnAllocate)
        *rows->pCancelOnAllocate = true;
    return rows->pixels.data();
}

struct DECODED {
    BOOL bDecoded = FALSE;
    ROWS rows;
    JPEG_DECODE_REQUEST request;
    std::string messages;
};

// Decodes at k/8 (a box of the scaled size picks it) on up to nThreads threads.
DECODED Decode(const std::vector<BYTE>& jpeg, int nThreads, int w, int h, int k) {
    DECODED d;
    d.request.nBoxWidth = (w * k + 7) / 8;
    d.request.nBoxHeight = (h * k + 7) / 8;
    d.request.nMaxThreads = nThreads;
    d.request.nMinStripedPixels = 0;
    d.request.pMessages = &d.messages;
    d.bDecoded = CJpegDecoder::DecodeBytes(jpeg.data(), jpeg.size(), 1ULL << 30, Allocate, &d.rows,
                                           &d.request);
    return d;
}

bool Striped(const DECODED& d) {
    return d.request.nStripesUsed > 1;
}

// Where each restart marker of the entropy data is: the byte after its 0xFF.
std::vector<size_t> RestartMarkers(const std::vector<BYTE>& jpeg) {
    std::vector<size_t> at;
    size_t sos = 0;
    for (size_t i = 2; i + 1 < jpeg.size() && sos == 0; i++)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            sos = i;
    for (size_t i = sos + 2; i + 1 < jpeg.size(); i++)
        if (jpeg[i] == 0xFF && jpeg[i + 1] >= 0xD0 && jpeg[i + 1] <= 0xD7)
            at.push_back(i + 1);
    return at;
}

bool ThreadsToStripe() {
    return AfxGetParallelThreads() >= 2;
}

} // namespace

// Rows land exactly where one decode puts them, at every scale, whatever the sampling and
// with the last MCU row partly outside the picture; a scale of 3/8 too, whose rows per MCU
// row are not a power of two.
TEST(StripedDecodeTest, GivesTheRowsOfOneDecode) {
    if (!ThreadsToStripe())
        GTEST_SKIP() << "one core";
    for (SAMPLING sampling : {SAMPLING_420, SAMPLING_444, SAMPLING_GREY}) {
        const int w = 517, h = 389;
        const std::vector<BYTE> jpeg = Encode(w, h, sampling);
        for (int k : {1, 2, 3, 4, 8}) {
            SCOPED_TRACE("sampling " + std::to_string(sampling) + ", scale " + std::to_string(k));
            const DECODED whole = Decode(jpeg, 1, w, h, k);
            const DECODED striped = Decode(jpeg, 4, w, h, k);
            ASSERT_TRUE(whole.bDecoded && striped.bDecoded);
            EXPECT_EQ(whole.request.nStripesUsed, 1);
            EXPECT_TRUE(Striped(striped));
            EXPECT_EQ(striped.rows.nAllocations, 1);
            EXPECT_EQ(striped.rows.nWidth, (w * k + 7) / 8);
            EXPECT_EQ(striped.rows.nHeight, (h * k + 7) / 8);
            EXPECT_EQ(striped.request.nFullWidth, w);
            EXPECT_EQ(striped.request.nFullHeight, h);
            EXPECT_TRUE(striped.rows.pixels == whole.rows.pixels);
            EXPECT_EQ(striped.messages, "");
        }
    }
}

// Against the picture itself, not only the whole decode: the band stays on the right and each
// row keeps its own shade, so stripes in the wrong order or rows shifted between them show.
TEST(StripedDecodeTest, KeepsRowsInPlace) {
    if (!ThreadsToStripe())
        GTEST_SKIP() << "one core";
    const int w = 640, h = 700;
    const DECODED d = Decode(Encode(w, h, SAMPLING_444), 4, w, h, 8);
    ASSERT_TRUE(d.bDecoded);
    ASSERT_TRUE(Striped(d));
    for (int y = 0; y < h; y += 7) {
        const BYTE* row = d.rows.pixels.data() + (size_t)y * (size_t)d.rows.nStride;
        BYTE expected[3];
        Pixel(w - 5, y, w, expected);
        EXPECT_NEAR(row[(w - 5) * 3 + 2], expected[0], 12) << "row " << y; // red, right
        Pixel(20, y, w, expected);
        EXPECT_NEAR(row[20 * 3 + 2], expected[0], 12) << "row " << y; // the row's shade
        EXPECT_NEAR(row[(w - 5) * 3 + 1], 0x10, 12) << "row " << y;   // the band's green
    }
}

// The stripes the picture is cut into cover it once, top to bottom, each a JPEG of its own
// whose frame says the height it decodes.
TEST(StripedDecodeTest, CutsStripesThatTileThePicture) {
    const int w = 300, h = 301;
    const std::vector<BYTE> jpeg = Encode(w, h, SAMPLING_420);
    JPEG_SCAN_SHAPE shape;
    shape.nWidth = w, shape.nHeight = h, shape.nMcuWidth = 16, shape.nMcuHeight = 16;
    shape.nRestartInterval = (w + 15) / 16;
    std::vector<JPEG_STRIPE> stripes;
    ASSERT_TRUE(CJpegStripes::Cut(jpeg.data(), jpeg.size(), shape, 3, stripes));
    ASSERT_EQ(stripes.size(), 2u); // 19 MCU rows: stripes start on rows 8 apart
    int next = 0;
    for (const JPEG_STRIPE& stripe : stripes) {
        EXPECT_EQ(stripe.nKeepFrom, next);
        EXPECT_EQ(stripe.nKeepFrom % 16, 0);
        EXPECT_LE(stripe.nDecodeFrom, stripe.nKeepFrom);
        EXPECT_GE(stripe.nDecodeTo, stripe.nKeepTo);
        next = stripe.nKeepTo;
        // Its data begins right after a marker that ends an interval numbered 7 mod 8.
        ASSERT_GT(stripe.nData, 0u);
        ASSERT_GE(stripe.pData, jpeg.data());
        ASSERT_LE(stripe.pData + stripe.nData, jpeg.data() + jpeg.size());
        if (stripe.nDecodeFrom > 0) {
            EXPECT_EQ(stripe.pData[-2], 0xFF);
            EXPECT_EQ(stripe.pData[-1], 0xD7);
        }
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, stripe.headers.data(), (unsigned long)stripe.headers.size());
        jpeg_read_header(&cinfo, TRUE);
        EXPECT_EQ((int)cinfo.image_height, stripe.nDecodeTo - stripe.nDecodeFrom);
        jpeg_destroy_decompress(&cinfo);
    }
    EXPECT_EQ(next, h);
    EXPECT_EQ(stripes.front().nDecodeFrom, 0);
    // A layout the markers do not follow is not cut.
    shape.nRestartInterval = 7;
    EXPECT_FALSE(CJpegStripes::Cut(jpeg.data(), jpeg.size(), shape, 3, stripes));
    shape.nRestartInterval = (w + 15) / 16, shape.nHeight = h + 16;
    EXPECT_FALSE(CJpegStripes::Cut(jpeg.data(), jpeg.size(), shape, 3, stripes));
}

// Markers renumbered, missing, or none at all where the header promises them; the data cut
// short: never striped, and the outcome is the whole decode's, rows and messages alike.
TEST(StripedDecodeTest, DamagedMarkersGoToTheWholeDecode) {
    const int w = 400, h = 320;
    const std::vector<BYTE> good = Encode(w, h, SAMPLING_420);
    const std::vector<size_t> markers = RestartMarkers(good);
    ASSERT_EQ(markers.size(), (size_t)(h / 16 - 1));
    std::vector<std::vector<BYTE>> damaged;
    std::vector<BYTE> renumbered = good;
    renumbered[markers[9]] = 0xD5; // RST1 expected
    damaged.push_back(renumbered);
    std::vector<BYTE> missing = good;
    missing.erase(missing.begin() + (long)markers[4] - 1, missing.begin() + (long)markers[4] + 1);
    damaged.push_back(missing);
    std::vector<BYTE> none = good;
    for (size_t i = markers.size(); i-- > 0;)
        none.erase(none.begin() + (long)markers[i] - 1, none.begin() + (long)markers[i] + 1);
    damaged.push_back(none);
    std::vector<BYTE> other = good;
    other[markers[3]] = 0xDC; // a DNL where a restart marker was
    damaged.push_back(other);
    damaged.push_back(std::vector<BYTE>(good.begin(), good.begin() + (long)good.size() * 2 / 3));
    for (size_t i = 0; i < damaged.size(); i++) {
        SCOPED_TRACE("damage " + std::to_string(i));
        for (int k : {2, 8}) {
            const DECODED whole = Decode(damaged[i], 1, w, h, k);
            const DECODED striped = Decode(damaged[i], 4, w, h, k);
            EXPECT_FALSE(Striped(striped));
            EXPECT_EQ(striped.bDecoded, whole.bDecoded);
            EXPECT_EQ(striped.messages, whole.messages);
            if (whole.bDecoded) {
                EXPECT_TRUE(striped.rows.pixels == whole.rows.pixels);
            }
        }
    }
    // Without restart markers, or too small for the request: one decode.
    EXPECT_FALSE(Striped(Decode(Encode(w, h, SAMPLING_420, false), 4, w, h, 8)));
    DECODED small;
    small.request.nMaxThreads = 4;
    ASSERT_TRUE(CJpegDecoder::DecodeBytes(good.data(), good.size(), 1ULL << 30, Allocate,
                                          &small.rows, &small.request));
    EXPECT_EQ(small.request.nStripesUsed, 1);
}

// Damage inside a stripe's data that leaves the markers whole: the stripe's warning sends the
// picture to the whole decode, which tells it once.
TEST(StripedDecodeTest, CorruptStripeGoesToTheWholeDecode) {
    if (!ThreadsToStripe())
        GTEST_SKIP() << "one core";
    const int w = 400, h = 320;
    std::vector<BYTE> jpeg = Encode(w, h, SAMPLING_420);
    const std::vector<size_t> markers = RestartMarkers(jpeg);
    // All ones, past any Huffman code: the library warns and goes on.
    for (size_t i = markers[12] + 1; i < markers[12] + 13; i += 2)
        jpeg[i] = 0xFF, jpeg[i + 1] = 0x00;
    const DECODED whole = Decode(jpeg, 1, w, h, 8);
    const DECODED striped = Decode(jpeg, 4, w, h, 8);
    ASSERT_TRUE(whole.bDecoded);
    ASSERT_TRUE(striped.bDecoded);
    EXPECT_EQ(striped.request.nStripesUsed, 1);
    EXPECT_EQ(striped.messages, whole.messages);
    EXPECT_NE(whole.messages, "");
    EXPECT_TRUE(striped.rows.pixels == whole.rows.pixels);
    EXPECT_EQ(striped.rows.nAllocations, 1);
}

// Cancelled once the rows are allocated (when the stripes start): no picture and no message.
TEST(StripedDecodeTest, CancelStopsEveryStripe) {
    if (!ThreadsToStripe())
        GTEST_SKIP() << "one core";
    const int w = 600, h = 480;
    const std::vector<BYTE> jpeg = Encode(w, h, SAMPLING_420);
    std::atomic<bool> cancel{false};
    DECODED d;
    d.rows.pCancelOnAllocate = &cancel;
    d.request.nMaxThreads = 4;
    d.request.nMinStripedPixels = 0;
    d.request.pCancel = &cancel;
    d.request.pMessages = &d.messages;
    EXPECT_FALSE(CJpegDecoder::DecodeBytes(jpeg.data(), jpeg.size(), 1ULL << 30, Allocate, &d.rows,
                                           &d.request));
    EXPECT_EQ(d.rows.nAllocations, 1);
    EXPECT_EQ(d.messages, "");
    // Rows not written stay as allocated: the stripes stopped before their ends.
    EXPECT_EQ(d.rows.pixels[d.rows.pixels.size() - 1], 0xCD);
}

// The limit refuses the picture before anything is allocated, as for one decode.
TEST(StripedDecodeTest, LimitRefusesBeforeAllocating) {
    const int w = 600, h = 480;
    const std::vector<BYTE> jpeg = Encode(w, h, SAMPLING_420);
    DECODED d;
    d.request.nMaxThreads = 4;
    d.request.nMinStripedPixels = 0;
    d.request.pMessages = &d.messages;
    EXPECT_FALSE(
        CJpegDecoder::DecodeBytes(jpeg.data(), jpeg.size(), 100000, Allocate, &d.rows, &d.request));
    EXPECT_EQ(d.rows.nAllocations, 0);
    EXPECT_NE(d.messages.find("600 x 480 pixels needs 864000 bytes, more than the 100000"),
              std::string::npos)
        << d.messages;
}

// From a file, the decode reads it whole to cut it: the same rows as from the bytes.
TEST(StripedDecodeTest, FromAFileToo) {
    if (!ThreadsToStripe())
        GTEST_SKIP() << "one core";
    const int w = 517, h = 389;
    const std::vector<BYTE> jpeg = Encode(w, h, SAMPLING_420);
    CScopedTempDir dir;
    const std::string path = dir.Path() + "/striped.jpg";
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(jpeg.data(), 1, jpeg.size(), out);
    std::fclose(out);
    FILE* in = std::fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    DECODED d;
    d.request.nMaxThreads = 4;
    d.request.nMinStripedPixels = 0;
    const BOOL bDecoded = CJpegDecoder::Decode(in, 1ULL << 30, Allocate, &d.rows, &d.request);
    std::fclose(in);
    ASSERT_TRUE(bDecoded);
    EXPECT_TRUE(Striped(d));
    EXPECT_TRUE(d.rows.pixels == Decode(jpeg, 1, w, h, 8).rows.pixels);
}
