// The frame on large screens: the scale chosen for a screen and by SLIDESHOW_SCALE, and where
// the frame's lines, buttons, picture and text land in device pixels at 1.75 and 3.5, with
// clicks given in device pixels.
#include <cstdlib>

#include "framework/backend/ScreenScale.h"
#include "shell/ShellFixture.h"

namespace {

// Sets SLIDESHOW_SCALE for the test's time (null: unset) and puts back what was there.
class CScopedScaleVariable {
public:
    explicit CScopedScaleVariable(const char* value) {
        const char* old = getenv(SCREEN_SCALE_ENV);
        m_bHad = old != nullptr;
        if (m_bHad)
            m_strOld = old;
        Set(value);
    }
    ~CScopedScaleVariable() { Set(m_bHad ? m_strOld.c_str() : nullptr); }
    CScopedScaleVariable(const CScopedScaleVariable&) = delete;
    CScopedScaleVariable& operator=(const CScopedScaleVariable&) = delete;

private:
    static void Set(const char* value) {
#ifdef _WIN32
        _putenv_s(SCREEN_SCALE_ENV, value ? value : "");
#else
        if (value)
            setenv(SCREEN_SCALE_ENV, value, 1);
        else
            unsetenv(SCREEN_SCALE_ENV);
#endif
    }
    bool m_bHad = false;
    std::string m_strOld;
};

int Device(const CDeviceScale& scale, int v) {
    return (int)scale.ToDevice(v);
}

// The rows of `rc` (device pixels) that hold a light pixel: the height of white text's ink.
int InkRows(const CHeadlessBackend& screen, const CRect& rc) {
    int rows = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        bool bInk = false;
        for (int x = rc.left; x < rc.right && !bInk; ++x)
            bInk = GetGValue(screen.GetPixel(x, y)) > 128;
        rows += bInk ? 1 : 0;
    }
    return rows;
}

// One large screen and what the scale makes of it: the frame's corner in layout pixels.
struct LARGE_SCREEN {
    int w, h;
    int nQuarters;
    CSize layout; // the screen in layout pixels
};
const LARGE_SCREEN LARGE_SCREENS[] = {{1920, 1080, 7, {1097, 617}}, {3840, 2160, 14, {1097, 617}}};

} // namespace

TEST(ScreenScale, LargestQuarterThatFitsFromOneAndAHalfUp) {
    const struct {
        int w, h;
        double factor;
    } cases[] = {{800, 600, 1},      {1024, 768, 1},    {1199, 900, 1},     {1200, 899, 1},
                 {1200, 900, 1.5},   {1280, 1024, 1.5}, {1920, 1080, 1.75}, {1920, 1200, 2},
                 {2560, 1440, 2.25}, {3840, 2160, 3.5}, {1080, 1920, 1},    {7680, 4320, 7},
                 {16384, 16384, 8},  {0, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        CString strWarning;
        const CDeviceScale scale = AfxChooseScreenScale(CSize(c.w, c.h), nullptr, strWarning);
        EXPECT_EQ(scale.Factor(), c.factor);
        EXPECT_TRUE(strWarning.IsEmpty());
        // The frame fits the screen at the chosen scale.
        if (c.w >= 800 && c.h >= 600) {
            EXPECT_LE(scale.ToDevice(800), c.w);
            EXPECT_LE(scale.ToDevice(600), c.h);
        }
    }
}

TEST(ScreenScale, OverrideWinsAndAnUnusableOneIsIgnoredWithAWarning) {
    const struct {
        const char* value;
        double factor; // on a 1920 × 1080 screen
        bool bWarns;
    } cases[] = {{"1", 1, false},     {"2", 2, false},       {"1.75", 1.75, false},
                 {"3.5", 3.5, false}, {"1.3", 1.25, false},  {"8", 8, false},
                 {"", 1.75, false},   {"abc", 1.75, true},   {"0", 1.75, true},
                 {"-2", 1.75, true},  {"0.5", 1.75, true},   {"100", 1.75, true},
                 {"8.5", 1.75, true}, {"1e400", 1.75, true}, {"nan", 1.75, true},
                 {"inf", 1.75, true}, {"2x", 1.75, true},    {" ", 1.75, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        CString strWarning;
        const CDeviceScale scale = AfxChooseScreenScale(CSize(1920, 1080), c.value, strWarning);
        EXPECT_EQ(scale.Factor(), c.factor);
        EXPECT_EQ(!strWarning.IsEmpty(), c.bWarns) << strWarning.GetString();
        if (c.bWarns) {
            EXPECT_NE(strWarning.Find(SCREEN_SCALE_ENV), -1);
        }
    }
}

TEST(ScreenScale, InstallingTheBackendReadsTheEnvironmentAndSaysWhatItIgnores) {
    CHeadlessBackend backend(1920, 1080);
    {
        CScopedScaleVariable variable(nullptr);
        AfxSetBackend(&backend);
        EXPECT_EQ(AfxGetScreenScale().Quarters(), 7);
        EXPECT_EQ(AfxGetScreenSize(), CSize(1097, 617));
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1097);
    }
    {
        CScopedScaleVariable variable("1");
        AfxSetBackend(&backend);
        EXPECT_EQ(AfxGetScreenScale().Quarters(), 4);
        EXPECT_EQ(AfxGetScreenSize(), CSize(1920, 1080));
    }
    {
        CScopedScaleVariable variable("abc");
        testing::internal::CaptureStderr();
        AfxSetBackend(&backend);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(AfxGetScreenScale().Quarters(), 7);
        EXPECT_NE(said.find("SLIDESHOW_SCALE=\"abc\""), std::string::npos) << said;
    }
    AfxSetBackend(nullptr);
    EXPECT_TRUE(AfxGetScreenScale().IsIdentity());
}

TEST(ScaledScreen, FrameLinesAndButtonsLandOnTheScaledDevicePixels) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 3);
    CScopedScaleVariable variable(nullptr);
    for (const LARGE_SCREEN& c : LARGE_SCREENS) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        CViewerHarness run(c.w, c.h, path);
        ASSERT_TRUE(run.m_bCreated);
        const CDeviceScale& scale = AfxGetScreenScale();
        ASSERT_EQ(scale.Quarters(), c.nQuarters);
        // The windows keep the frame's layout, placed as on any screen of the layout's size.
        EXPECT_EQ(WindowRectOf(run.Dlg()), CRect(CPoint(), c.layout));
        const int L = c.layout.cx / 2 - 400, T = c.layout.cy / 2 - 300;
        const CRect next(L + 113, T + 566, L + 183, T + 586);
        EXPECT_EQ(WindowRectOf(run.Control(ID_NEXT)), next);
        // The grey line under the view area: LineWidth() whole device rows, black around it.
        const int x = Device(scale, L + 400), lineTop = Device(scale, T + 550);
        const int width = scale.LineWidth();
        EXPECT_EQ(width, c.nQuarters == 7 ? 2 : 4);
        EXPECT_SCREEN_NEAR(run.Screen(), x, lineTop - 1, RGB(0, 0, 0));
        EXPECT_SCREEN_NEAR(run.Screen(), x, lineTop, RGB(51, 51, 51));
        EXPECT_SCREEN_NEAR(run.Screen(), x, lineTop + width - 1, RGB(51, 51, 51));
        EXPECT_SCREEN_NEAR(run.Screen(), x, lineTop + width, RGB(0, 0, 0));
        // The line spans the frame's scaled width and no more.
        EXPECT_SCREEN_NEAR(run.Screen(), Device(scale, L + 800) - 1, lineTop, RGB(51, 51, 51));
        EXPECT_SCREEN_NEAR(run.Screen(), Device(scale, L + 800), lineTop, RGB(0, 0, 0));
        EXPECT_SCREEN_NEAR(run.Screen(), Device(scale, L) - 1, lineTop, RGB(0, 0, 0));
        // NEXT's face fills its scaled rectangle inside its frame; outside it is black.
        const CRect dev = scale.ToDevice(next);
        EXPECT_SCREEN_NEAR(run.Screen(), dev.left + 3 * width, dev.top + 3 * width,
                           RGB(49, 49, 49));
        EXPECT_SCREEN_NEAR(run.Screen(), dev.right - 3 * width, dev.bottom - 3 * width,
                           RGB(49, 49, 49));
        EXPECT_SCREEN_NEAR(run.Screen(), dev.right + 1, dev.top + dev.Height() / 2, RGB(0, 0, 0));
        EXPECT_SCREEN_NEAR(run.Screen(), dev.left + dev.Width() / 2, dev.bottom + 1, RGB(0, 0, 0));
        // What changed reached the display in device pixels: EXIT lies beyond the layout's
        // width in device pixels, and shows.
        const CRect exit = scale.ToDevice(WindowRectOf(run.Control(ID_EXIT)));
        ASSERT_GT(exit.left, c.layout.cx);
        EXPECT_TRUE(
            NearColour(run.Screen().GetPresentedPixel(exit.left + 3 * width, exit.top + 3 * width),
                       RGB(49, 49, 49)));
    }
}

TEST(ScaledScreen, ClicksInDevicePixelsHitTheControlUnderThem) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 3);
    CScopedScaleVariable variable(nullptr);
    for (const LARGE_SCREEN& c : LARGE_SCREENS) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        CViewerHarness run(c.w, c.h, path);
        ASSERT_TRUE(run.m_bCreated);
        const CDeviceScale& scale = AfxGetScreenScale();
        const CRect next = scale.ToDevice(WindowRectOf(run.Control(ID_NEXT)));
        const CRect previous = scale.ToDevice(WindowRectOf(run.Control(ID_PREVIOUS)));
        ASSERT_EQ(run.View(), 'C');
        // Just past NEXT's scaled right edge: on the screen's own pixels that would still be
        // inside it, scaled it is beside it.
        run.Click(next.right + 1, next.CenterPoint().y);
        EXPECT_EQ(run.View(), 'C');
        run.Click(next.right - 1, next.bottom - 1);
        EXPECT_EQ(run.View(), 'T');
        run.Click(previous.left, previous.top);
        EXPECT_EQ(run.View(), 'C');
    }
}

TEST(ScaledScreen, PictureIsDecodedForTheDevicePixelsAndShownTheRightWayUp) {
    CScopedTempDir dir;
    CCollectionWriter writer;
    writer.SetHeader("1.0 test");
    // The image view's shape, so that the picture fills it: 1600 × 950 into 800 × 475.
    ITEM_RECORD item = MakeTestItem(0, ItemColour(0));
    item.jpeg = MakeLargeBandedJpeg(1600, 950, ItemColour(0));
    writer.AddItem(item);
    const std::string path = WriteTestCollection(writer, dir);
    CScopedScaleVariable variable(nullptr);
    for (const LARGE_SCREEN& c : LARGE_SCREENS) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        CViewerHarness run(c.w, c.h, path);
        ASSERT_TRUE(run.m_bCreated);
        const CDeviceScale& scale = AfxGetScreenScale();
        run.PickRow(3);
        run.Command(ID_SHOW_IMAGE);
        ASSERT_EQ(run.View(), 'I');
        const CRect area = scale.ToDevice(WindowRectOf(run.ImageCell()));
        // Decoded no smaller than the area's device pixels, or at full size when that is
        // smaller (at a scale of 1, 800 × 475 would do).
        BITMAP bm = {};
        ASSERT_TRUE(const_cast<CItemPicture*>(run.ImageCell().GetPicture())->GetBitmap(&bm));
        EXPECT_GE(bm.bmWidth, std::min(area.Width(), 1600));
        // The left band on the left, a tenth of the width; the JPEG's first rows (its top
        // band, an eighth of the height) at the bottom.
        const CHeadlessBackend& screen = run.Screen();
        const int midY = area.CenterPoint().y, midX = area.CenterPoint().x;
        const int bandWidth = area.Width() / 10, bandHeight = area.Height() / 8;
        EXPECT_SCREEN_NEAR(screen, area.left + 1, midY, TEST_PICTURE_LEFT_BAND);
        EXPECT_SCREEN_NEAR(screen, area.left + bandWidth - 3, midY, TEST_PICTURE_LEFT_BAND);
        EXPECT_SCREEN_NEAR(screen, area.left + bandWidth + 3, midY, ItemColour(0));
        EXPECT_SCREEN_NEAR(screen, area.right - 2, midY, ItemColour(0));
        EXPECT_SCREEN_NEAR(screen, midX, area.bottom - 2, TEST_PICTURE_TOP_BAND);
        EXPECT_SCREEN_NEAR(screen, midX, area.bottom - bandHeight + 3, TEST_PICTURE_TOP_BAND);
        EXPECT_SCREEN_NEAR(screen, midX, area.bottom - bandHeight - 3, ItemColour(0));
        EXPECT_SCREEN_NEAR(screen, midX, area.top + 1, ItemColour(0));
        // Sharp: from the band to the colour within two device pixels.
        int nBetween = 0;
        for (int x = area.left; x < area.left + 2 * bandWidth; ++x) {
            const COLORREF p = screen.GetPixel(x, midY);
            nBetween +=
                !NearColour(p, TEST_PICTURE_LEFT_BAND, 24) && !NearColour(p, ItemColour(0), 24);
        }
        EXPECT_LE(nBetween, 2);
    }
}

TEST(ScaledScreen, TextIsDrawnAtTheScaledSize) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 2);
    CScopedScaleVariable variable(nullptr);
    // The header title's ink, right-aligned 20 pixels inside the frame at T + 36.
    const auto titleInk = [&](int w, int h, int* pWidth) {
        CViewerHarness run(w, h, path);
        const CDeviceScale& scale = AfxGetScreenScale();
        const CSize layout = AfxGetScreenSize();
        const int L = layout.cx / 2 - 400, T = layout.cy / 2 - 300;
        const CRect rc = scale.ToDevice(CRect(L + 400, T + 30, L + 780, T + 66));
        int left = rc.right;
        for (int x = rc.left; x < rc.right && left == rc.right; ++x)
            for (int y = rc.top; y < rc.bottom; ++y)
                if (GetGValue(run.Screen().GetPixel(x, y)) > 128) {
                    left = x;
                    break;
                }
        *pWidth = rc.right - left;
        return InkRows(run.Screen(), rc);
    };
    int width1 = 0;
    const int height1 = titleInk(1024, 768, &width1);
    ASSERT_GT(height1, 5);
    for (const LARGE_SCREEN& c : LARGE_SCREENS) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const double factor = c.nQuarters / 4.0;
        int width = 0;
        const int height = titleInk(c.w, c.h, &width);
        // Drawn at the larger size, not the small text enlarged: its height and width grow
        // with the scale, give or take the rounding of the two sizes.
        EXPECT_NEAR(height, height1 * factor, 2 + factor);
        EXPECT_NEAR(width, width1 * factor, 2 + 2 * factor);
    }
}

TEST(ScaledScreen, ScaleOfOneKeepsTheFramesOwnPixelsOnALargeScreen) {
    CScopedTempDir dir;
    const std::string path = WriteItems(dir, 3);
    CScopedScaleVariable variable("1");
    CViewerHarness run(1920, 1080, path);
    ASSERT_TRUE(run.m_bCreated);
    const int L = 960 - 400, T = 540 - 300;
    EXPECT_EQ(WindowRectOf(run.Control(ID_NEXT)), CRect(L + 113, T + 566, L + 183, T + 586));
    EXPECT_SCREEN_NEAR(run.Screen(), L + 400, T + 550, RGB(51, 51, 51));
    EXPECT_SCREEN_NEAR(run.Screen(), L + 400, T + 551, RGB(0, 0, 0));
    run.Click(L + 113 + 5, T + 566 + 5);
    EXPECT_EQ(run.View(), 'T');
}
