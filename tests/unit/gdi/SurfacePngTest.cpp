#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "GdiTestSupport.h"
#include "framework/gdi/SurfacePng.h"

namespace {

std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name + std::to_string(getpid()) + ".png";
}

TEST(SurfacePng, ScreenshotsReadBackPixelForPixel) {
    CTestSurface s(3, 2);
    const uint32_t pixels[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
    for (int i = 0; i < 6; ++i)
        s.At(i % 3, i / 3) = pixels[i];
    const std::string path = TempPath("gdi-shot");
    ASSERT_TRUE(AfxWriteSurfacePng(s.Surface(), path.c_str()));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    std::remove(path.c_str());
    ASSERT_EQ(image.width, 3u);
    ASSERT_EQ(image.height, 2u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ((uint32_t)rgb[3 * i] << 16 | (uint32_t)rgb[3 * i + 1] << 8 | rgb[3 * i + 2],
                  pixels[i])
            << i;
}

TEST(SurfacePng, FailuresLeaveNoFile) {
    CTestSurface s(2, 2);
    EXPECT_FALSE(AfxWriteSurfacePng(s.Surface(), "/nonexistent-folder/shot.png"));
    const std::string path = TempPath("gdi-empty");
    EXPECT_FALSE(AfxWriteSurfacePng(s.Surface(), CRect(5, 5, 9, 9), path.c_str()));
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    EXPECT_FALSE(AfxWriteSurfacePng(CSurface(), path.c_str()));
}

} // namespace
