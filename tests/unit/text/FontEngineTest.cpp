#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "TestCanvas.h"
#include "framework/gdi/FontEngine.h"
#include "framework/gdi/GdiObject.h"
#include "framework/gdi/TextLayout.h"

namespace {

LOGFONT Font(const char* face, LONG height, LONG weight = FW_NORMAL) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

int Measure(const LOGFONT& lf, const std::string& text) {
    return CTextLayout::MeasureLine(CFontEngine::Get().Realize(lf), text.data(), (int)text.size());
}

} // namespace

TEST(FontEngine, PositiveHeightIsTheCellNegativeTheCharacter) {
    for (const char* face : {"", "Verdana", "MS Sans Serif", "sans-serif"}) {
        for (int height : {8, 11, 13, 14, 16, 20, 33}) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(height));
            const TEXTMETRIC cell = CFontEngine::Get().Realize(Font(face, height)).GetMetrics();
            EXPECT_EQ(cell.tmHeight, height);
            EXPECT_EQ(cell.tmAscent + cell.tmDescent, cell.tmHeight);
            EXPECT_GT(cell.tmDescent, 0);

            const TEXTMETRIC character =
                CFontEngine::Get().Realize(Font(face, -height)).GetMetrics();
            // The character height leaves out the internal leading, so the cell grows.
            EXPECT_GT(character.tmHeight, height);
            EXPECT_EQ(character.tmHeight - character.tmInternalLeading, height);
            EXPECT_GT(Measure(Font(face, -height), "Sample"),
                      Measure(Font(face, height), "Sample"));
        }
    }
}

TEST(FontEngine, DefaultsAndLimits) {
    const TEXTMETRIC byDefault = CFontEngine::Get().Realize(Font("", 0)).GetMetrics();
    EXPECT_EQ(byDefault.tmHeight, CFontEngine::kDefaultCellHeight);
    EXPECT_EQ(CFontEngine::Get().RealizeDefault().GetHeight(), CFontEngine::kDefaultCellHeight);
    EXPECT_EQ(byDefault.tmWeight, FW_NORMAL);
    // Absurd sizes are limited instead of rendering giant glyphs.
    EXPECT_EQ(CFontEngine::Get().Realize(Font("", INT32_MAX)).GetHeight(), CFontEngine::kMaxHeight);
    EXPECT_LE(CFontEngine::Get().Realize(Font("", INT32_MIN)).GetHeight(),
              2 * CFontEngine::kMaxHeight);
    // A face name that fills the whole buffer without a terminator is read within it.
    LOGFONT unterminated = Font("", 14);
    std::memset(unterminated.lfFaceName, 'Q', LF_FACESIZE);
    EXPECT_EQ(CFontEngine::Get().Realize(unterminated).GetHeight(), 14);
    EXPECT_GT(Measure(unterminated, "Q"), 0);
}

TEST(FontEngine, WeightAndStyleChangeTheText) {
    for (int height : {11, 14, 16}) {
        SCOPED_TRACE(height);
        const std::string text = "Bold text is wider";
        EXPECT_GT(Measure(Font("Verdana", height, FW_BOLD), text),
                  Measure(Font("Verdana", height), text));
        EXPECT_GT(Measure(Font("", height, FW_SEMIBOLD), text), Measure(Font("", height), text));
    }
    // Underline: a full row of ink under the baseline, as wide as the text.
    LOGFONT underlined = Font("", 14);
    underlined.lfUnderline = 1;
    CFontFace& face = CFontEngine::Get().Realize(underlined);
    const int width = Measure(underlined, "a b");
    CTestCanvas canvas(60, 20, 0xFFFFFF);
    CTextLayout(face, "a b", 3, CRect(2, 0, 60, 20), DT_SINGLELINE)
        .Draw(canvas.Surface(), canvas.Surface().Bounds(), 0, nullptr);
    const int row = face.GetAscent() + face.GetUnderlineOffset();
    EXPECT_EQ(canvas.Count(CRect(2, row, 2 + width, row + 1), 0), width);
    EXPECT_EQ(canvas.Count(CRect(2 + width, row, 60, row + 1), 0), 0);
}

TEST(FontEngine, IconTitleFontIsTheDocumentedOne) {
    LOGFONT lf;
    std::memset(&lf, 0x55, sizeof lf);
    EXPECT_TRUE(SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lf, 0));
    EXPECT_EQ(lf.lfHeight, CFontEngine::kIconTitleHeight);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    EXPECT_FALSE(SystemParametersInfo(SPI_GETICONTITLELOGFONT, 4, &lf, 0));
    EXPECT_FALSE(SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), nullptr, 0));
    EXPECT_FALSE(SystemParametersInfo(0x1234, sizeof(LOGFONT), &lf, 0));
}

TEST(FontEngine, CharactersTheFaceLacksComeFromTheWideSansFace) {
    // U+2011, a non-breaking hyphen: not in the icon-title face, in DejaVu Sans.
    const std::string hyphen = "\xE2\x80\x91", privateUse = "\xEE\x80\x80";
    for (LONG weight : {FW_NORMAL, FW_BOLD}) {
        SCOPED_TRACE(weight);
        const LOGFONT tahoma = Font("Tahoma", -11, weight),
                      dejavu = Font("DejaVu Sans", -11, weight);
        EXPECT_EQ(Measure(tahoma, hyphen), Measure(dejavu, hyphen));
        EXPECT_NE(Measure(tahoma, "A"), Measure(dejavu, "A")); // the face itself is not replaced
        auto ink = [](const LOGFONT& lf, const std::string& text) {
            CTestCanvas canvas(20, 20, 0xFFFFFF);
            CTextLayout(CFontEngine::Get().Realize(lf), text.data(), (int)text.size(),
                        CRect(2, 2, 20, 20), DT_SINGLELINE)
                .Draw(canvas.Surface(), canvas.Surface().Bounds(), 0, nullptr);
            return canvas.CountNot(CRect(0, 0, 20, 20), 0xFFFFFF);
        };
        // A hyphen is a short bar, far less ink than the missing-glyph box.
        EXPECT_GT(ink(tahoma, hyphen), 0);
        EXPECT_LT(ink(tahoma, hyphen), ink(tahoma, privateUse));
    }
}

TEST(FontEngine, WithoutAFontTextMeasuresZeroAndDrawsNothing) {
    for (LONG height : {14, -14, 1}) {
        LOGFONT lf = Font("", height);
        CFontFace face(nullptr, lf, false, false);
        EXPECT_FALSE(face.HasGlyphs());
        EXPECT_GE(face.GetHeight(), std::abs(height));
        EXPECT_EQ(face.GetAscent() + face.GetMetrics().tmDescent, face.GetHeight());
        EXPECT_EQ(CTextLayout::MeasureLine(face, "Hello", 5), 0);
        CTestCanvas canvas(30, 20, 0xFFFFFF);
        CTextLayout(face, "Hello", 5, CRect(0, 0, 30, 20), DT_WORDBREAK)
            .Draw(canvas.Surface(), canvas.Surface().Bounds(), 0, nullptr);
        EXPECT_EQ(canvas.CountNot(CRect(0, 0, 30, 20), 0xFFFFFF), 0);
    }
}

TEST(FontEngineDeathTest, WithNoFontInstalledTheProgramsFacesStillDraw) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process: the engine starts anew
    const int verdana = Measure(Font("Verdana", 14), "Hello");
    const int iconTitle = Measure(Font("Tahoma", -11, FW_SEMIBOLD), "Hello");
    ASSERT_GT(verdana, 0);
    EXPECT_EXIT(
        {
            char path[] = "/tmp/slideshow-nofonts-XXXXXX";
            const int fd = mkstemp(path);
            const char config[] = "<?xml version=\"1.0\"?><fontconfig></fontconfig>\n";
            const bool written =
                fd >= 0 && write(fd, config, sizeof config - 1) == (ssize_t)(sizeof config - 1);
            setenv("FONTCONFIG_FILE", path, 1);
            // The program's faces are embedded; a face it does not carry is the embedded sans.
            const bool same = Measure(Font("Verdana", 14), "Hello") == verdana &&
                              Measure(Font("No Such Face", 14), "Hello") == verdana &&
                              Measure(Font("Tahoma", -11, FW_SEMIBOLD), "Hello") == iconTitle;
            CFontFace& face = CFontEngine::Get().Realize(Font("Verdana", 14));
            CTestCanvas canvas(40, 20, 0xFFFFFF);
            CTextLayout(face, "Hello", 5, CRect(0, 0, 40, 20), 0)
                .Draw(canvas.Surface(), canvas.Surface().Bounds(), 0, nullptr);
            unlink(path);
            std::fprintf(stderr, "drawn\n");
            std::exit(written && same && canvas.CountNot(CRect(0, 0, 40, 20), 0xFFFFFF) > 10 ? 0
                                                                                             : 1);
        },
        ::testing::ExitedWithCode(0), "drawn");
}
