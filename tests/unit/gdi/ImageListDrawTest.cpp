#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "GdiTestSupport.h"
#include "framework/gdi/DeviceScale.h"
#include "framework/gdi/ImageList.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& name) {
    std::ifstream in(std::string(SLIDESHOW_TEST_DATA) + "/../../data/imagelist/" + name,
                     std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class CBytes : public CByteSource {
public:
    explicit CBytes(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    UINT Read(void* buffer, UINT n) override {
        const size_t count = std::min<size_t>(n, m_bytes.size() - m_pos);
        if (count)
            std::memcpy(buffer, m_bytes.data() + m_pos, count);
        m_pos += count;
        return (UINT)count;
    }
    ULONGLONG GetRemaining() const override { return m_bytes.size() - m_pos; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_pos = 0;
};

// A P6 picture as surface pixels, rows top first.
std::vector<uint32_t> ReadPpm(const std::string& name, int& w, int& h) {
    const std::vector<uint8_t> bytes = ReadFile(name);
    int maxval = 0, consumed = 0;
    std::string text(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 32));
    if (std::sscanf(text.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &consumed) != 3)
        return {};
    std::vector<uint32_t> out;
    for (size_t i = (size_t)consumed + 1; i + 2 < bytes.size() && out.size() < (size_t)w * h;
         i += 3)
        out.push_back((uint32_t)bytes[i] << 16 | (uint32_t)bytes[i + 1] << 8 | bytes[i + 2]);
    return out;
}

TEST(ImageListDraw, TransparentDrawingMatchesThePlatformsPictures) {
    struct Case {
        const char* stem;
        int images;
    } cases[] = {{"case1_c24_mask_32", 1},
                 {"case3_c4_mask_32", 1},
                 {"case5_c32_16", 3},
                 {"case7_grow_20x12", 5}};
    const struct {
        const char* suffix;
        uint32_t pixel;
    } backgrounds[] = {{"black", 0x000000}, {"bg2", 0x2060A0}};
    int compared = 0;
    for (const Case& c : cases) {
        CImageList list;
        CBytes stream(ReadFile(std::string(c.stem) + ".bin"));
        ASSERT_TRUE(list.Read(&stream)) << c.stem;
        for (int i = 0; i < c.images; ++i)
            for (const auto& bg : backgrounds) {
                int w = 0, h = 0;
                const std::string name =
                    std::string(c.stem) + "_img" + std::to_string(i) + "_" + bg.suffix + ".ppm";
                const std::vector<uint32_t> expected = ReadPpm(name, w, h);
                ASSERT_EQ(expected.size(), (size_t)w * h) << name;
                // Drawn one pixel in from the corner of a larger surface, which must stay
                // untouched.
                CTestSurface s(w + 2, h + 2, bg.pixel);
                CSurfaceDC dc(s);
                ASSERT_TRUE(ImageList_Draw(&list, i, dc, 1, 1, ILD_TRANSPARENT)) << name;
                int wrong = 0, outside = 0;
                for (int y = 0; y < h + 2; ++y)
                    for (int x = 0; x < w + 2; ++x) {
                        if (x >= 1 && y >= 1 && x <= w && y <= h)
                            wrong += s.At(x, y) != expected[(size_t)(y - 1) * w + x - 1];
                        else
                            outside += s.At(x, y) != bg.pixel;
                    }
                EXPECT_EQ(wrong, 0) << name;
                EXPECT_EQ(outside, 0) << name;
                ++compared;
            }
    }
    EXPECT_EQ(compared, 20);
}

// On a scaled surface an image is enlarged smoothly: the device pixel in the middle of each
// image pixel's block mixes that pixel with its neighbours only (or the background under
// transparent ones), close to the pixel itself; nothing lands outside the image's rectangle.
TEST(ImageListDraw, ScaledDrawingEnlargesWhatTheUnscaledDrawingShows) {
    const CDeviceScale scale(14);
    for (const char* stem : {"case1_c24_mask_32", "case5_c32_16"}) {
        SCOPED_TRACE(stem);
        CImageList list;
        CBytes stream(ReadFile(std::string(stem) + ".bin"));
        ASSERT_TRUE(list.Read(&stream));
        const int w = list.GetData()->cx, h = list.GetData()->cy;
        CTestSurface plain(w, h, 0x2060A0);
        CSurfaceDC plainDC(plain);
        ASSERT_TRUE(ImageList_Draw(&list, 0, plainDC, 0, 0, ILD_TRANSPARENT));
        CTestSurface big((int)scale.ToDevice(w + 2), (int)scale.ToDevice(h + 2), 0x2060A0);
        CDC bigDC;
        bigDC.Attach(
            AfxCreateSurfaceDC(&big.Surface(), CPoint(), CRect(0, 0, w + 2, h + 2), scale));
        ASSERT_TRUE(ImageList_Draw(&list, 0, bigDC, 1, 1, ILD_TRANSPARENT));
        int outOfRange = 0;
        double error = 0;
        for (int y = 1; y + 1 < h; ++y)
            for (int x = 1; x + 1 < w; ++x) {
                const CRect block = scale.ToDevice(CRect(x + 1, y + 1, x + 2, y + 2));
                const uint32_t got = big.At(block.CenterPoint().x, block.CenterPoint().y);
                for (int shift = 0; shift <= 16; shift += 8) {
                    int lo = 255, hi = 0;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) {
                            const int v = (int)((plain.At(x + dx, y + dy) >> shift) & 0xFF);
                            lo = std::min(lo, v), hi = std::max(hi, v);
                        }
                    const int v = (int)((got >> shift) & 0xFF);
                    outOfRange += v < lo - 2 || v > hi + 2;
                    error += std::abs(v - (int)((plain.At(x, y) >> shift) & 0xFF));
                }
            }
        EXPECT_EQ(outOfRange, 0);
        EXPECT_LT(error / (3.0 * (w - 2) * (h - 2)), 12.0);
        const CRect image = scale.ToDevice(CRect(1, 1, w + 1, h + 1));
        int outside = 0;
        for (int y = 0; y < big.Surface().height; ++y)
            for (int x = 0; x < big.Surface().width; ++x)
                outside += !image.PtInRect(CPoint(x, y)) && big.At(x, y) != 0x2060A0u;
        EXPECT_EQ(outside, 0);
    }
}

TEST(ImageListDraw, ClipsAndRefusesWhatItCannotDraw) {
    CImageList list;
    CBytes stream(ReadFile("case1_c24_mask_32.bin"));
    ASSERT_TRUE(list.Read(&stream));
    CTestSurface s(8, 8, 0x123456);
    const CRect clip(2, 2, 6, 6);
    CSurfaceDC dc(s, CPoint(), &clip);
    EXPECT_TRUE(ImageList_Draw(list, 0, dc, -20, -20, ILD_TRANSPARENT));
    EXPECT_TRUE(ImageList_Draw(list, 0, dc, 1000000, -1000000, ILD_TRANSPARENT));
    int outside = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            outside += !clip.PtInRect(CPoint(x, y)) && s.At(x, y) != 0x123456;
    EXPECT_EQ(outside, 0);
    EXPECT_FALSE(ImageList_Draw(list, 1, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_FALSE(ImageList_Draw(list, -1, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_FALSE(ImageList_Draw((HIMAGELIST) nullptr, 0, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_FALSE(ImageList_Draw(list, 0, nullptr, 0, 0, ILD_TRANSPARENT));
}

} // namespace
