#include "framework/system/IconFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

typedef std::vector<uint8_t> Bytes;

void Put16(Bytes& b, size_t at, int v) {
    b[at] = (uint8_t)v, b[at + 1] = (uint8_t)(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = (uint8_t)(v >> (8 * i));
}
size_t Stride(int w, int bits) {
    return ((size_t)w * bits + 31) / 32 * 4;
}

// One image as the file stores it; `colour(x, y)` and `masked(x, y)` use top-down rows.
struct ImageSpec {
    int width, height, bits;
    std::vector<uint32_t> palette;            // 0x00RRGGBB
    std::function<uint32_t(int, int)> colour; // palette index, or 0xAARRGGBB for 24/32 bits
    std::function<bool(int, int)> masked;
    bool withMask = true;
};

Bytes ImageBytes(const ImageSpec& s) {
    Bytes b(40 + 4 * s.palette.size());
    Put32(b, 0, 40);
    Put32(b, 4, (uint32_t)s.width);
    Put32(b, 8, (uint32_t)(2 * s.height));
    Put16(b, 12, 1);
    Put16(b, 14, s.bits);
    Put32(b, 32, (uint32_t)s.palette.size());
    for (size_t i = 0; i < s.palette.size(); ++i)
        Put32(b, 40 + 4 * i, s.palette[i]);
    for (int r = s.height - 1; r >= 0; --r) {
        Bytes row(Stride(s.width, s.bits));
        for (int x = 0; x < s.width; ++x) {
            uint32_t c = s.colour(x, r);
            switch (s.bits) {
            case 1:
                row[x / 8] |= (uint8_t)((c & 1) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= (uint8_t)((c & 15) << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[x] = (uint8_t)c;
                break;
            case 24:
                row[3 * x] = (uint8_t)c, row[3 * x + 1] = (uint8_t)(c >> 8),
                        row[3 * x + 2] = (uint8_t)(c >> 16);
                break;
            case 32:
                for (int i = 0; i < 4; ++i)
                    row[4 * x + i] = (uint8_t)(c >> (8 * i));
                break;
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    if (s.withMask) {
        for (int r = s.height - 1; r >= 0; --r) {
            Bytes row(Stride(s.width, 1));
            for (int x = 0; x < s.width; ++x)
                if (s.masked(x, r))
                    row[x / 8] |= (uint8_t)(1 << (7 - x % 8));
            b.insert(b.end(), row.begin(), row.end());
        }
    }
    return b;
}

// A whole file: type 1 icon or 2 cursor; for cursors hot spots go where icons keep planes/bits.
Bytes FileBytes(int type, const std::vector<ImageSpec>& images, int hotX = 0, int hotY = 0) {
    Bytes f(6 + 16 * images.size());
    Put16(f, 2, type);
    Put16(f, 4, (int)images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        Bytes img = ImageBytes(images[i]);
        size_t e = 6 + 16 * i;
        f[e] = (uint8_t)images[i].width;
        f[e + 1] = (uint8_t)images[i].height;
        Put16(f, e + 4, type == 2 ? hotX : 1);
        Put16(f, e + 6, type == 2 ? hotY : images[i].bits);
        Put32(f, e + 8, (uint32_t)img.size());
        Put32(f, e + 12, (uint32_t)f.size());
        f.insert(f.end(), img.begin(), img.end());
    }
    return f;
}

// A 32 × 32 monochrome cursor like the program's hand: white left half, black right half,
// the top row see-through, the bottom row inverting.
Bytes MonochromeCursor() {
    ImageSpec s{32,
                32,
                1,
                {0x000000, 0xFFFFFF},
                [](int x, int y) {
                    return (uint32_t)(y == 31 ? 1 : y == 0 ? 0 : x < 16);
                },
                [](int, int y) { return y == 0 || y == 31; }};
    return FileBytes(2, {s}, 6, 0);
}

TEST(IconFile, DecodesMonochromeCursorWithMaskAndHotSpot) {
    Bytes f = MonochromeCursor();
    BackendImage img;
    ASSERT_TRUE(CIconFile::Decode(f.data(), f.size(), img));
    EXPECT_EQ(img.width, 32);
    EXPECT_EQ(img.height, 32);
    EXPECT_EQ(img.hotX, 6);
    EXPECT_EQ(img.hotY, 0);
    EXPECT_EQ(img.pixels[0 * 32 + 3], 0u);            // transparent
    EXPECT_EQ(img.pixels[5 * 32 + 3], 0xFFFFFFFFu);   // white
    EXPECT_EQ(img.pixels[5 * 32 + 20], 0xFF000000u);  // black
    EXPECT_EQ(img.pixels[31 * 32 + 20], 0xFF000000u); // inverting, shown black
}

TEST(IconFile, DecodesEveryColourDepth) {
    auto checker = [](int x, int y) { return (x + y) % 2 == 0; };
    auto maskTopLeft = [](int x, int y) { return x == 0 && y == 0; };
    std::vector<uint32_t> pal16(16);
    for (int i = 0; i < 16; ++i)
        pal16[i] = (uint32_t)(i * 0x111111);
    std::vector<uint32_t> pal256(256);
    for (int i = 0; i < 256; ++i)
        pal256[i] = (uint32_t)(i << 8);
    struct Case {
        ImageSpec image;
        uint32_t at11, at21; // expected pixels at (1,1) and (2,1)
    } cases[] = {
        {{5, 3, 4, pal16, [](int x, int) { return (uint32_t)(x * 3); }, maskTopLeft},
         0xFF333333u,
         0xFF666666u},
        {{5, 3, 8, pal256, [](int x, int y) { return (uint32_t)(x * 10 + y); }, maskTopLeft},
         0xFF000B00u,
         0xFF001500u},
        {{5,
          3,
          24,
          {},
          [&](int x, int y) { return checker(x, y) ? 0x123456u : 0xABCDEFu; },
          maskTopLeft},
         0xFF123456u,
         0xFFABCDEFu},
        {{5,
          3,
          32,
          {},
          [](int x, int) { return 0x80000000u | (uint32_t)x; },
          [](int, int) { return true; }},
         0x80000001u,
         0x80000002u},
        {{5, 3, 32, {}, [](int x, int) { return (uint32_t)x; }, maskTopLeft},
         0xFF000001u,
         0xFF000002u},
        {{5, 3, 32, {}, [](int x, int) { return 0x40000000u | (uint32_t)x; }, maskTopLeft, false},
         0x40000001u,
         0x40000002u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image.bits);
        Bytes f = FileBytes(1, {c.image});
        BackendImage img;
        ASSERT_TRUE(CIconFile::Decode(f.data(), f.size(), img));
        ASSERT_EQ(img.width, 5);
        ASSERT_EQ(img.height, 3);
        EXPECT_EQ(img.pixels[1 * 5 + 1], c.at11);
        EXPECT_EQ(img.pixels[1 * 5 + 2], c.at21);
        if (c.image.withMask && c.image.bits != 32) {
            EXPECT_EQ(img.pixels[0], 0u); // masked corner
        }
        EXPECT_EQ(img.hotX, 0);
        EXPECT_EQ(img.hotY, 0);
    }
}

TEST(IconFile, ChoosesTheNearestSizeThenTheDeepest) {
    auto colour = [](uint32_t c) { return [c](int, int) { return c; }; };
    auto none = [](int, int) { return false; };
    Bytes f = FileBytes(1, {ImageSpec{16, 16, 24, {}, colour(0x000001), none},
                            ImageSpec{32, 32, 4, {0, 0x000002}, colour(1), none},
                            ImageSpec{32, 32, 24, {}, colour(0x000003), none},
                            ImageSpec{48, 48, 32, {}, colour(0xFF000004), none}});
    struct Case {
        int preferred, width;
        uint32_t pixel;
    } cases[] = {
        {16, 16, 0xFF000001u}, {32, 32, 0xFF000003u}, {30, 32, 0xFF000003u}, {64, 48, 0xFF000004u}};
    for (const Case& c : cases) {
        BackendImage img;
        ASSERT_TRUE(CIconFile::Decode(f.data(), f.size(), img, c.preferred));
        EXPECT_EQ(img.width, c.width) << c.preferred;
        EXPECT_EQ(img.pixels[0], c.pixel) << c.preferred;
    }
}

TEST(IconFile, RefusesDamagedFilesSafely) {
    const Bytes good = MonochromeCursor();
    const size_t img = 6 + 16; // the image's header follows the one directory entry
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
    } cases[] = {
        {"reserved word set", [](Bytes& b) { Put16(b, 0, 1); }},
        {"unknown type", [](Bytes& b) { Put16(b, 2, 3); }},
        {"no images", [](Bytes& b) { Put16(b, 4, 0); }},
        {"more entries than bytes", [](Bytes& b) { Put16(b, 4, 60000); }},
        {"offset past the end", [](Bytes& b) { Put32(b, 18, 0xFFFFFFF0u); }},
        {"size past the end", [](Bytes& b) { Put32(b, 14, 0xFFFFFFF0u); }},
        {"header size huge", [&](Bytes& b) { Put32(b, img, 0x7FFFFFFFu); }},
        {"header size small", [&](Bytes& b) { Put32(b, img, 12); }},
        {"zero width", [&](Bytes& b) { Put32(b, img + 4, 0); }},
        {"negative width", [&](Bytes& b) { Put32(b, img + 4, (uint32_t)-32); }},
        {"huge width", [&](Bytes& b) { Put32(b, img + 4, 1u << 30); }},
        {"odd height", [&](Bytes& b) { Put32(b, img + 8, 63); }},
        {"huge height", [&](Bytes& b) { Put32(b, img + 8, 0x7FFFFFFEu); }},
        {"two planes", [&](Bytes& b) { Put16(b, img + 12, 2); }},
        {"16 bits", [&](Bytes& b) { Put16(b, img + 14, 16); }},
        {"compressed", [&](Bytes& b) { Put32(b, img + 16, 1); }},
        {"palette too large", [&](Bytes& b) { Put32(b, img + 32, 3); }},
        {"PNG image", [&](Bytes& b) { std::memcpy(&b[img], "\x89PNG\r\n\x1a\n", 8); }},
    };
    for (const Case& c : cases) {
        Bytes b = good;
        c.damage(b);
        BackendImage out;
        out.width = 99;
        EXPECT_FALSE(CIconFile::Decode(b.data(), b.size(), out)) << c.what;
        EXPECT_EQ(out.width, 0) << c.what;
        EXPECT_TRUE(out.pixels.empty()) << c.what;
    }
    // Every truncation of a good file is refused (the image's rows run to its end).
    for (size_t n = 0; n < good.size(); ++n) {
        Bytes b(good.begin(), good.begin() + n);
        BackendImage out;
        EXPECT_FALSE(CIconFile::Decode(b.data(), b.size(), out)) << n;
    }
    BackendImage out;
    EXPECT_FALSE(CIconFile::Decode(nullptr, 100, out));
}

TEST(IconFile, KeepsTheHotSpotInsideTheImage) {
    ImageSpec s{
        8, 8, 1, {0, 0xFFFFFF}, [](int, int) { return 0u; }, [](int, int) { return false; }};
    Bytes f = FileBytes(2, {s}, 40, 9);
    BackendImage img;
    ASSERT_TRUE(CIconFile::Decode(f.data(), f.size(), img));
    EXPECT_EQ(img.hotX, 7);
    EXPECT_EQ(img.hotY, 7);
}

} // namespace
