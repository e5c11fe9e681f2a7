#include <gtest/gtest.h>

#include <cstring>

#include "DataTestSupport.h"
#include "framework/gdi/ImageList.h"

namespace {

std::string DataPath(const std::string& name) {
    return std::string(SLIDESHOW_TEST_DATA) + "/../../data/imagelist/" + name;
}

class CMemorySource : public CByteSource {
public:
    explicit CMemorySource(std::vector<BYTE> bytes) : m_bytes(std::move(bytes)) {}
    UINT Read(void* buffer, UINT n) override {
        const size_t count = n < GetRemaining() ? n : (size_t)GetRemaining();
        if (count)
            std::memcpy(buffer, m_bytes.data() + m_pos, count);
        m_pos += count;
        return (UINT)count;
    }
    ULONGLONG GetRemaining() const override { return m_bytes.size() - m_pos; }

private:
    std::vector<BYTE> m_bytes;
    size_t m_pos = 0;
};

struct PPM {
    int w = 0, h = 0;
    std::vector<BYTE> rgb;
};

PPM ReadPpm(const std::string& path) {
    const std::vector<BYTE> bytes = ReadFileBytes(path);
    PPM ppm;
    int maxval = 0, consumed = 0;
    EXPECT_EQ(std::sscanf(reinterpret_cast<const char*>(bytes.data()), "P6 %d %d %d%n", &ppm.w,
                          &ppm.h, &maxval, &consumed),
              3);
    ppm.rgb.assign(bytes.begin() + consumed + 1, bytes.end());
    EXPECT_EQ(ppm.rgb.size(), (size_t)ppm.w * ppm.h * 3);
    return ppm;
}

// The platform's transparent drawing of one channel onto the background channel d.
int Draw(const IMAGELIST_DATA& list, int image, int x, int y, int shift, int d) {
    const DWORD p = list.PixelAt(image, x, y);
    const int s = (int)((p >> shift) & 0xFF), a = (int)(p >> 24);
    if (list.bAlpha && list.imageHasAlpha[(size_t)image])
        return s * a / 255 + (d * (255 - a) + 127) / 255;
    if (list.IsTransparentAt(image, x, y))
        return d | s;
    return s;
}

void ExpectDrawsLikeThePlatform(const IMAGELIST_DATA& list, int image, const std::string& ppmName,
                                DWORD background) {
    const PPM ppm = ReadPpm(DataPath(ppmName));
    ASSERT_EQ(ppm.w, list.cx) << ppmName;
    ASSERT_EQ(ppm.h, list.cy) << ppmName;
    int nWrong = 0;
    for (int y = 0; y < list.cy; y++) {
        for (int x = 0; x < list.cx; x++) {
            const BYTE* want = &ppm.rgb[((size_t)y * ppm.w + x) * 3];
            const int r = Draw(list, image, x, y, 16, (int)(background >> 16));
            const int g = Draw(list, image, x, y, 8, (int)((background >> 8) & 0xFF));
            const int b = Draw(list, image, x, y, 0, (int)(background & 0xFF));
            if (r != want[0] || g != want[1] || b != want[2])
                nWrong++;
        }
    }
    EXPECT_EQ(nWrong, 0) << ppmName;
}

std::vector<BYTE> StreamOf(const IMAGELIST_DATA& list) {
    CStreamWriter out;
    out.WriteImageList(list);
    return out.GetBytes();
}

} // namespace

TEST(ImageList, PlatformStreamsDecodeToWhatThePlatformDraws) {
    struct Case {
        const char* stem;
        int cx, cy, images;
        BOOL bMask, bAlpha;
    } cases[] = {
        {"case1_c24_mask_32", 32, 32, 1, TRUE, FALSE},
        {"case3_c4_mask_32", 32, 32, 1, TRUE, FALSE},
        {"case5_c32_16", 16, 16, 3, FALSE, TRUE},
        {"case7_grow_20x12", 20, 12, 5, TRUE, FALSE},
    };
    for (const Case& c : cases) {
        const std::vector<BYTE> bytes = ReadFileBytes(DataPath(std::string(c.stem) + ".bin"));
        CMemorySource source(bytes);
        CImageList list;
        ASSERT_TRUE(list.Read(&source)) << c.stem;
        EXPECT_EQ(source.GetRemaining(), 0u) << c.stem;
        const IMAGELIST_DATA& data = *list.GetData();
        EXPECT_EQ(data.cx, c.cx);
        EXPECT_EQ(data.cy, c.cy);
        EXPECT_EQ(list.GetImageCount(), c.images) << c.stem;
        EXPECT_EQ(data.bMask, c.bMask) << c.stem;
        EXPECT_EQ(data.bAlpha, c.bAlpha) << c.stem;
        for (int i = 0; i < c.images; i++) {
            const std::string image = std::string(c.stem) + "_img" + std::to_string(i);
            ExpectDrawsLikeThePlatform(data, i, image + "_black.ppm", 0x000000);
            ExpectDrawsLikeThePlatform(data, i, image + "_bg2.ppm", 0x2060A0);
        }
    }
}

TEST(ImageList, WrittenStreamsReadBackAndDuplicate) {
    IMAGELIST_DATA masked;
    masked.cx = 5;
    masked.cy = 3;
    masked.nImages = 6; // two tile rows
    masked.bMask = TRUE;
    IMAGELIST_DATA alpha = masked;
    alpha.bMask = FALSE;
    for (int i = 0; i < 6 * 15; i++) {
        const bool bClear = i % 7 == 0;
        masked.pixels.push_back(bClear ? 0xFF000000u : 0xFF000000u | (DWORD)i * 0x030507u);
        masked.mask.push_back(bClear);
        alpha.pixels.push_back((DWORD)i * 0x02030507u);
    }
    for (const IMAGELIST_DATA* want : {&masked, &alpha}) {
        CMemorySource source(StreamOf(*want));
        CImageList list, copy;
        ASSERT_TRUE(list.Read(&source));
        EXPECT_EQ(source.GetRemaining(), 0u);
        EXPECT_EQ(list.GetData()->pixels, want->pixels);
        EXPECT_EQ(list.GetData()->mask, want->mask);
        EXPECT_TRUE(copy.Create(&list));
        list.DeleteImageList();
        EXPECT_EQ(copy.GetImageCount(), 6);
        EXPECT_EQ(copy.GetData()->pixels, want->pixels);
    }
    CImageList empty, target;
    EXPECT_FALSE(target.Create(&empty));
    EXPECT_EQ(target.GetSafeHandle(), nullptr);
}

TEST(ImageList, DamagedStreamsAreRefusedWithinTheirBytes) {
    const std::vector<BYTE> good = ReadFileBytes(DataPath("case7_grow_20x12.bin"));
    const size_t maskHeader = 28 + 54 + 8640;
    struct Case {
        const char* what;
        size_t offset;
        std::vector<BYTE> patch;
    } cases[] = {
        {"magic", 0, {'X', 'X'}},
        {"version", 2, {0x00, 0x07}},
        {"zero width", 10, {0x00, 0x00}},
        {"absurd height", 12, {0xFF, 0xFF}},
        {"more images than the strip holds", 4, {0x0D, 0x00}},
        {"not BM", 28, {'B', 'A'}},
        {"unknown depth", 28 + 14 + 14, {0x07, 0x00}},
        {"compressed", 28 + 14 + 16, {0x01, 0x00}},
        {"strip taller than the stream", 28 + 14 + 8, {0xFF, 0x7F}},
        {"bits offset past the end", 28 + 10, {0xFF, 0xFF, 0xFF, 0x7F}},
        {"mask not BM", maskHeader, {'M', 'B'}},
        {"mask of 24 bits", maskHeader + 14 + 14, {0x18, 0x00}},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes = good;
        std::copy(c.patch.begin(), c.patch.end(), bytes.begin() + (long)c.offset);
        CMemorySource source(bytes);
        CImageList list;
        EXPECT_FALSE(list.Read(&source)) << c.what;
        EXPECT_EQ(list.GetSafeHandle(), nullptr) << c.what;
    }
    for (size_t cut = 0; cut < good.size(); cut += 97) {
        CMemorySource source(std::vector<BYTE>(good.begin(), good.begin() + (long)cut));
        CImageList list;
        EXPECT_FALSE(list.Read(&source)) << "cut at " << cut;
    }
}
