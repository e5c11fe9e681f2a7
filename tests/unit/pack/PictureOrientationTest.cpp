// Packed pictures show upright in the viewer whatever their EXIF orientation: each test picture
// has four differently coloured quarters, so a flip, a mirror or a wrong turn shows.
#include <algorithm>
#include <memory>

#include <jpeglib.h>

#include "PackFixture.h"
#include "data/CollectionFile.h"
#include "support/TestFixtures.h"
#include "tools/pack/CatalogueJson.h"
#include "tools/pack/CollectionPacker.h"
#include "tools/pack/FolderSource.h"
#include "tools/pack/JpegMarkers.h"
#include "tools/pack/PackCommands.h"
#include "tools/pack/PictureTransform.h"
#include "tools/pack/ViewerFileReader.h"

namespace {
const DWORD TOP_LEFT = 0xE02010, TOP_RIGHT = 0x20C040, BOTTOM_LEFT = 0xE0D020,
            BOTTOM_RIGHT = 0x3040E0;

DWORD Quarter(int x, int y, int w, int h) {
    if (y < h / 2)
        return x < w / 2 ? TOP_LEFT : TOP_RIGHT;
    return x < w / 2 ? BOTTOM_LEFT : BOTTOM_RIGHT;
}

// Where the stored pixel (x, y) of a w x h file lands in the upright picture.
void Upright(int nOrientation, int x, int y, int w, int h, int& ux, int& uy) {
    switch (nOrientation) {
    case 2:
        ux = w - 1 - x, uy = y;
        break;
    case 3:
        ux = w - 1 - x, uy = h - 1 - y;
        break;
    case 4:
        ux = x, uy = h - 1 - y;
        break;
    case 5:
        ux = y, uy = x;
        break;
    case 6:
        ux = h - 1 - y, uy = x;
        break;
    case 7:
        ux = h - 1 - y, uy = w - 1 - x;
        break;
    case 8:
        ux = y, uy = w - 1 - x;
        break;
    default:
        ux = x, uy = y;
        break;
    }
}

// A little-endian EXIF block whose orientation entry follows another entry.
std::vector<BYTE> ExifSegment(int nOrientation) {
    return {0xFF, 0xE1, 0x00, 0x2E, 'E', 'x', 'i', 'f', 0,
            0,    'I',  'I',  0x2A, 0,   8,   0,   0,   0,
            2,    0, // two entries
            0x00, 0x01, 4,    0,    1,   0,   0,   0,   0x40,
            0,    0,    0, // image width, LONG 64
            0x12, 0x01, 3,    0,    1,   0,   0,   0,   (BYTE)nOrientation,
            0,    0,    0,    0,    0,   0,   0};
}

const std::vector<BYTE> ICC_SEGMENT = {0xFF, 0xE2, 0x00, 0x14, 'I', 'C', 'C', '_', 'P', 'R', 'O',
                                       'F',  'I',  'L',  'E',  0,   1,   1,   'p', 'r', 'o', 'f'};

std::vector<BYTE> AfterStart(const std::vector<BYTE>& jpeg, const std::vector<BYTE>& segments) {
    std::vector<BYTE> out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), segments.begin(), segments.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

bool Contains(const std::vector<BYTE>& bytes, const std::vector<BYTE>& part) {
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

// The colour the viewer shows at (x, y) from the top: its bitmap's rows run bottom-up.
DWORD Shown(const BITMAP& bm, int x, int y) {
    const BYTE* p = static_cast<const BYTE*>(bm.bmBits) +
                    (size_t)(bm.bmHeight - 1 - y) * (size_t)bm.bmWidthBytes + (size_t)x * 3;
    return (DWORD)p[2] << 16 | (DWORD)p[1] << 8 | p[0];
}

bool Near(DWORD a, DWORD b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs((int)(a >> shift & 0xFF) - (int)(b >> shift & 0xFF)) > 24)
            return false;
    return true;
}

std::string Hex(DWORD colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", colour);
    return text;
}

// Every item's picture as the viewer shows it: each quarter's centre takes its colour.
void ExpectUpright(const std::string& collection, const std::vector<std::pair<int, int>>& sizes,
                   const std::vector<std::string>& names) {
    CCollectionFile file;
    ASSERT_EQ(file.Open(collection.c_str()), 1);
    ASSERT_EQ(file.GetItemCount(), (int)sizes.size());
    for (int i = 0; i < file.GetItemCount(); ++i) {
        std::unique_ptr<CCollectionItem> item(file.LoadItem(i));
        CItemPicture* picture = item->GetPicture();
        ASSERT_NE(picture, nullptr) << names[(size_t)i];
        BITMAP bm{};
        picture->GetBitmap(&bm);
        const auto [w, h] = sizes[(size_t)i];
        ASSERT_EQ(bm.bmWidth, w) << names[(size_t)i];
        ASSERT_EQ(bm.bmHeight, h) << names[(size_t)i];
        for (const auto& [x, y] : {std::pair<int, int>{w / 4, h / 4},
                                   {3 * w / 4, h / 4},
                                   {w / 4, 3 * h / 4},
                                   {3 * w / 4, 3 * h / 4}})
            EXPECT_TRUE(Near(Shown(bm, x, y), Quarter(x, y, w, h)))
                << names[(size_t)i] << " at " << x << "," << y << " shows " << Hex(Shown(bm, x, y))
                << ", not " << Hex(Quarter(x, y, w, h));
    }
}

class PictureOrientationTest : public PackFixture {
protected:
    // A JPEG file whose pixels, turned by its EXIF orientation, give the upright w x h quarters.
    std::string OrientedJpeg(const std::string& name, int nOrientation, int w, int h,
                             bool bSubsampled = false) {
        const bool bSwap = nOrientation >= 5;
        const int fw = bSwap ? h : w, fh = bSwap ? w : h;
        auto colourAt = [&](int x, int y) {
            int ux = 0, uy = 0;
            Upright(nOrientation, x, y, fw, fh, ux, uy);
            return Quarter(ux, uy, w, h);
        };
        std::vector<BYTE> jpeg;
        if (bSubsampled) {
            RGBA_IMAGE image{fw, fh, {}};
            for (int y = 0; y < fh; ++y)
                for (int x = 0; x < fw; ++x)
                    image.pixels.push_back(0xFF000000u | colourAt(x, y));
            jpeg = CPictureFile::EncodeJpeg(image, 95);
        } else {
            jpeg = MakeJpeg(fw, fh, colourAt);
        }
        std::vector<BYTE> head = ExifSegment(nOrientation);
        head.insert(head.end(), ICC_SEGMENT.begin(), ICC_SEGMENT.end());
        jpeg = AfterStart(jpeg, head);
        WriteText(Path(name), std::string(jpeg.begin(), jpeg.end()));
        return Path(name);
    }
};
} // namespace

TEST_F(PictureOrientationTest, EveryOrientationShowsUprightWithOrWithoutLoss) {
    // 32 x 24 lies on the 8-pixel block grid; 30 x 21 does not and is compressed again; the
    // subsampled 32 x 40 has 16-pixel blocks, which its height of 40 does not fill.
    struct Size {
        int w, h;
        bool bSubsampled;
    } sizes[] = {{32, 24, false}, {30, 21, false}, {32, 40, true}};
    std::vector<std::pair<int, int>> shown;
    std::vector<std::string> names;
    size_t nReencoded = 0;
    for (const Size& size : sizes)
        for (int o = 1; o <= 8; ++o) {
            char name[64];
            std::snprintf(name, sizeof name, "f/%zu-%dx%d-%s-%d.jpg", shown.size() + 100, size.w,
                          size.h, size.bSubsampled ? "420" : "444", o);
            OrientedJpeg(name, o, size.w, size.h, size.bSubsampled);
            shown.emplace_back(size.w, size.h);
            names.push_back(name);
            const int nBlock = size.bSubsampled ? 16 : 8;
            const int fw = o >= 5 ? size.h : size.w, fh = o >= 5 ? size.w : size.h;
            nReencoded += !CPictureTransform::IsLossless(CPictureTransform::OperationFor(o), fw, fh,
                                                         nBlock, nBlock);
        }
    const PACK_SUMMARY summary =
        CCollectionPacker(CFolderSource::Load(Path("f"))).Pack(m_viewer, Path("out"), false);
    ExpectUpright(Path("out"), shown, names);
    EXPECT_EQ(summary.nPictures, 24u);
    EXPECT_EQ(summary.nReencoded, nReencoded);
    // 30 x 21: all but orientation 4 and the transposition, which keep the top-left corner;
    // 32 x 40 in 16-pixel blocks: those that move the partial bottom (or right) blocks.
    EXPECT_EQ(summary.nReencoded, 6u + 4u);
    EXPECT_TRUE(summary.warnings.empty());

    CViewerFileReader reader(Path("out"));
    for (int i = 0; i < reader.GetItemCount(); ++i) {
        const VIEWER_ITEM item = reader.ReadItem(i);
        EXPECT_EQ(CJpegMarkers::ReadOrientation(item.jpeg.data(), item.jpeg.size()).nValue, 1);
        EXPECT_FALSE(Contains(item.jpeg, {'E', 'x', 'i', 'f', 0, 0})) << names[(size_t)i];
        EXPECT_TRUE(Contains(item.jpeg, ICC_SEGMENT)) << names[(size_t)i];
    }
}

TEST_F(PictureOrientationTest, UnusualSamplingIsDecodedTurnedAndCompressedAgain) {
    // Luma sampled 1 x 4 against chroma 1 x 1: valid, but not one TurboJPEG turns on blocks.
    const int fw = 24, fh = 32; // orientation 6: shown 32 x 24
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long nOut = 0;
    jpeg_mem_dest(&cinfo, &out, &nOut);
    cinfo.image_width = fw, cinfo.image_height = fh;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    cinfo.comp_info[0].h_samp_factor = 1, cinfo.comp_info[0].v_samp_factor = 4;
    cinfo.comp_info[1].h_samp_factor = cinfo.comp_info[1].v_samp_factor = 1;
    cinfo.comp_info[2].h_samp_factor = cinfo.comp_info[2].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<BYTE> row((size_t)fw * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < fw; ++x) {
            int ux = 0, uy = 0;
            Upright(6, x, (int)cinfo.next_scanline, fw, fh, ux, uy);
            const DWORD c = Quarter(ux, uy, fh, fw);
            row[(size_t)x * 3] = (BYTE)(c >> 16), row[(size_t)x * 3 + 1] = (BYTE)(c >> 8);
            row[(size_t)x * 3 + 2] = (BYTE)c;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<BYTE> jpeg(out, out + nOut);
    std::free(out);
    jpeg = AfterStart(jpeg, ExifSegment(6));
    WriteText(Path("f/odd.jpg"), std::string(jpeg.begin(), jpeg.end()));
    testing::internal::CaptureStderr();
    const PACK_SUMMARY summary =
        CCollectionPacker(CFolderSource::Load(Path("f"))).Pack(m_viewer, Path("out"), false);
    testing::internal::GetCapturedStderr();
    ExpectUpright(Path("out"), {{32, 24}}, {"odd.jpg"});
    EXPECT_EQ(summary.nReencoded, 1u);
}

TEST_F(PictureOrientationTest, PngIsFlippedBeforeItIsCompressed) {
    RGBA_IMAGE image{20, 14, {}};
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 20; ++x)
            image.pixels.push_back(0xFF000000u | Quarter(x, y, 20, 14));
    std::filesystem::create_directories(Path("f"));
    CPictureFile::WritePng(image, Path("f/a.png"));
    const PACK_SUMMARY summary =
        CCollectionPacker(CFolderSource::Load(Path("f"))).Pack(m_viewer, Path("out"), false);
    ExpectUpright(Path("out"), {{20, 14}}, {"a.png"});
    EXPECT_EQ(summary.nReencoded, 0u);
}

TEST_F(PictureOrientationTest, DamagedExifIsTakenAsUprightWithAWarning) {
    std::vector<BYTE> jpeg = MakeJpeg(16, 8, [](int x, int y) { return Quarter(x, y, 16, 8); });
    std::vector<BYTE> outside = ExifSegment(6);
    outside[14] = 0xF0; // the first directory far beyond the block
    std::vector<BYTE> badValue = ExifSegment(9);
    std::vector<BYTE> noTiff = ExifSegment(6);
    noTiff[10] = 'X';
    const std::pair<const char*, std::vector<BYTE>> cases[] = {
        {"f/outside.jpg", outside}, {"f/value.jpg", badValue}, {"f/tiff.jpg", noTiff}};
    for (const auto& [name, segment] : cases) {
        const std::vector<BYTE> bytes = AfterStart(jpeg, segment);
        WriteText(Path(name), std::string(bytes.begin(), bytes.end()));
    }
    const PACK_SUMMARY summary =
        CCollectionPacker(CFolderSource::Load(Path("f"))).Pack(m_viewer, Path("out"), false);
    ExpectUpright(Path("out"), {{16, 8}, {16, 8}, {16, 8}}, {"outside", "tiff", "value"});
    ASSERT_EQ(summary.warnings.size(), 3u);
    EXPECT_NE(summary.warnings[0].find("outside.jpg: the EXIF block is damaged"), std::string::npos)
        << summary.warnings[0];
    EXPECT_NE(summary.warnings[2].find("value.jpg"), std::string::npos) << summary.warnings[2];
}

TEST_F(PictureOrientationTest, ExtractedPicturesShowUprightElsewhereAndBuildAgainByteForByte) {
    OrientedJpeg("f/a-turned.jpg", 6, 32, 24);
    OrientedJpeg("f/b-odd.jpg", 3, 30, 21);
    RGBA_IMAGE image{12, 10, {}};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            image.pixels.push_back(0xFF000000u | Quarter(x, y, 12, 10));
    std::filesystem::create_directories(Path("f"));
    CPictureFile::WritePng(image, Path("f/c.png"));
    CCollectionPacker(CFolderSource::Load(Path("f"))).Pack(m_viewer, Path("first"), false);
    ASSERT_EQ(CPackCommands::Extract(Path("first"), Path("unpacked")), 0);

    // Another viewer applies the flip the extracted file asks for: the picture is upright.
    const std::string extracted = ReadAll(Path("unpacked/pictures/a-turned.jpg"));
    const std::vector<BYTE> bytes(extracted.begin(), extracted.end());
    EXPECT_EQ(CJpegMarkers::ReadOrientation(bytes.data(), bytes.size()).nValue, EXIF_FLIPPED);
    CCollectionWriter writer;
    ITEM_RECORD record;
    record.m_strName = "extracted";
    record.bPicture = TRUE;
    record.jpeg = bytes; // the viewer ignores EXIF: its rows run as the file's, bottom-up
    writer.AddItem(record);
    ASSERT_TRUE(writer.WriteFile(Path("raw").c_str()));
    CCollectionFile file;
    ASSERT_EQ(file.Open(Path("raw").c_str()), 1);
    std::unique_ptr<CCollectionItem> item(file.LoadItem(0));
    ASSERT_NE(item->GetPicture(), nullptr);
    BITMAP bm{};
    item->GetPicture()->GetBitmap(&bm);
    ASSERT_EQ(bm.bmWidth, 32);
    // The file's first row is the upright picture's bottom row.
    EXPECT_TRUE(Near(Shown(bm, 4, bm.bmHeight - 1 - 4), BOTTOM_LEFT));
    EXPECT_TRUE(Near(Shown(bm, 28, bm.bmHeight - 1 - 20), TOP_RIGHT));

    const PACK_SUMMARY again =
        CCollectionPacker(CCatalogueJson::Load(Path("unpacked/catalogue.json")))
            .Pack(m_viewer, Path("second"), false);
    EXPECT_EQ(ReadAll(Path("first")), ReadAll(Path("second")));
    EXPECT_EQ(again.nReencoded, 0u);
}

TEST(JpegMarkers, OrientationBlockReplacesTheOldOneAndGoesAgain) {
    const std::vector<BYTE> jpeg = MakeJpeg(8, 8, [](int x, int) { return x < 4 ? 0xFF0000u : 0; });
    const std::vector<BYTE> withExif = AfterStart(jpeg, ExifSegment(8));
    EXPECT_EQ(CJpegMarkers::ReadOrientation(withExif.data(), withExif.size()).nValue, 8);
    EXPECT_EQ(CJpegMarkers::WithoutExif(withExif), jpeg);
    const std::vector<BYTE> marked = CJpegMarkers::WithOrientation(withExif, 4);
    const EXIF_ORIENTATION read = CJpegMarkers::ReadOrientation(marked.data(), marked.size());
    EXPECT_EQ(read.nValue, 4);
    EXPECT_TRUE(read.damage.empty());
    EXPECT_EQ(CJpegMarkers::WithoutExif(marked), jpeg);
    // The JFIF segment stays first.
    EXPECT_EQ(std::vector<BYTE>(marked.begin(), marked.begin() + 20),
              std::vector<BYTE>(jpeg.begin(), jpeg.begin() + 20));
    // A file without EXIF is upright; one cut inside its head yields no segment to trust.
    EXPECT_EQ(CJpegMarkers::ReadOrientation(jpeg.data(), jpeg.size()).nValue, 1);
    EXPECT_EQ(CJpegMarkers::ReadOrientation(withExif.data(), 30).nValue, 1);
    // Bytes that are no JPEG are written out as they are.
    const std::vector<BYTE> text = {'n', 'o', 't', ' ', 'a', ' ', 'J', 'P', 'E', 'G'};
    EXPECT_EQ(CJpegMarkers::WithOrientation(text, 4), text);
}
