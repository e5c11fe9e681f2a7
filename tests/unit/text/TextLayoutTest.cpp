#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestCanvas.h"
#include "framework/gdi/FontEngine.h"
#include "framework/gdi/TextLayout.h"

namespace {

const uint32_t kWhite = 0xFFFFFF;
const uint32_t kBlack = 0x000000;

CFontFace& Face14() {
    LOGFONT lf;
    CFontEngine::GetIconTitleLogFont(lf);
    lf.lfHeight = 14;
    return CFontEngine::Get().Realize(lf);
}

CTextLayout Layout(const std::string& text, const CRect& rect, UINT format) {
    return CTextLayout(Face14(), text.data(), (int)text.size(), rect, format);
}

int Width(const std::string& text) {
    return CTextLayout::MeasureLine(Face14(), text.data(), (int)text.size());
}

// The columns of `r` that hold at least one pixel other than `background`.
std::vector<int> InkedColumns(const CTestCanvas& canvas, const CRect& r, uint32_t background) {
    std::vector<int> columns;
    for (int x = r.left; x < r.right; ++x)
        if (canvas.CountNot(CRect(x, r.top, x + 1, r.bottom), background))
            columns.push_back(x);
    return columns;
}

} // namespace

TEST(TextLayout, MeasuredHeightFollowsTheLineCount) {
    const int lineHeight = Face14().GetHeight();
    const int word = Width("word");
    const int twoWords = Width("word word");
    struct Case {
        const char* text;
        UINT format;
        int width;
        int lines;
    } cases[] = {
        {"one line", DT_CALCRECT | DT_WORDBREAK, 500, 1},
        {"a\nb", DT_CALCRECT | DT_WORDBREAK, 500, 2},
        {"a\r\nb\r\nc", DT_CALCRECT, 500, 3},
        {"a\rb", DT_CALCRECT, 500, 2},
        {"a\n", DT_CALCRECT | DT_WORDBREAK, 500, 1},
        {"a\n\nb", DT_CALCRECT | DT_WORDBREAK, 500, 3},
        {"\n", DT_CALCRECT | DT_WORDBREAK, 500, 1},
        {"a\r\nb", DT_CALCRECT | DT_SINGLELINE, 500, 1},
        {"word word word word", DT_CALCRECT | DT_WORDBREAK, twoWords, 2},
        {"word word word word", DT_CALCRECT | DT_WORDBREAK, twoWords - 1, 4},
        {"word word word word", DT_CALCRECT, twoWords, 1},
        {"word    word", DT_CALCRECT | DT_WORDBREAK, word, 2},
        {"word word\nword", DT_CALCRECT | DT_WORDBREAK, word, 3},
        {"wordwordwordword word", DT_CALCRECT | DT_WORDBREAK, word, 2},
        {"", DT_CALCRECT | DT_WORDBREAK, 500, 0},
        {"", DT_CALCRECT | DT_SINGLELINE, 500, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CTextLayout layout = Layout(c.text, CRect(10, 20, 10 + c.width, 20), c.format);
        const CRect calc = layout.GetCalcRect();
        EXPECT_EQ(calc.top, 20);
        EXPECT_EQ(calc.Height(), c.lines * lineHeight);
    }
}

TEST(TextLayout, WrappedLinesDropTheSpacesAtTheBreakAndFitTheWidth) {
    const std::string text = "The quick brown fox jumps over the lazy dog and keeps running far";
    for (int width : {60, 100, 150, 230}) {
        SCOPED_TRACE(width);
        const CTextLayout layout = Layout(text, CRect(0, 0, width, 0), DT_CALCRECT | DT_WORDBREAK);
        EXPECT_GT(layout.GetLineCount(), 1);
        EXPECT_LE(layout.GetWidth(), width);
        EXPECT_EQ(layout.GetCalcRect().Width(), layout.GetWidth());
    }
    // Two words that fit exactly stay together; the line ends at the last letter.
    const CTextLayout pair =
        Layout("ab cd", CRect(0, 0, Width("ab cd"), 0), DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(pair.GetLineCount(), 1);
    const CTextLayout split =
        Layout("ab cd", CRect(0, 0, Width("ab cd") - 1, 0), DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(split.GetLineCount(), 2);
    EXPECT_EQ(split.GetWidth(), std::max(Width("ab"), Width("cd")));
}

TEST(TextLayout, AWordLongerThanTheWidthIsCutAtTheEdgeNotBroken) {
    const std::string word = "WWWWWWWWWWWWWWWW";
    const CRect rect(10, 5, 60, 40);
    ASSERT_GT(Width(word), rect.Width() * 2);
    const CTextLayout measured = Layout(word, rect, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(measured.GetLineCount(), 1);
    EXPECT_EQ(measured.GetCalcRect().Width(), Width(word)); // the measure widens to the word

    CTestCanvas canvas(100, 50, kWhite);
    Layout(word, rect, DT_WORDBREAK | DT_NOPREFIX)
        .Draw(canvas.Surface(), canvas.Surface().Bounds(), kBlack, nullptr);
    EXPECT_GT(canvas.CountNot(CRect(rect.right - 5, rect.top, rect.right, rect.bottom), kWhite), 0);
    EXPECT_EQ(canvas.CountNot(CRect(rect.right, 0, 100, 50), kWhite), 0);
    // Only the first line holds ink: nothing of the word went to a second line.
    const int lineBottom = rect.top + Face14().GetHeight();
    EXPECT_EQ(canvas.CountNot(CRect(0, lineBottom, 100, 50), kWhite), 0);
}

TEST(TextLayout, AmpersandIsAPrefixUnlessNoPrefix) {
    struct Case {
        const char* text;
        UINT format;
        const char* sameWidthAs;
    } cases[] = {
        {"&File", 0, "File"},
        {"Save &As", DT_SINGLELINE, "Save As"},
        {"a&&b", 0, "a&b"},
        {"trailing&", 0, "trailing"},
        {"&File", DT_NOPREFIX, "&File"},
        {"a&&b", DT_NOPREFIX, "a&&b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CTextLayout layout = Layout(c.text, CRect(0, 0, 500, 0), c.format | DT_CALCRECT);
        EXPECT_EQ(layout.GetWidth(), Width(c.sameWidthAs));
    }
    EXPECT_GT(Width("&File"), Width("File"));

    // "&&" paints exactly one literal "&"; "&x" paints "x" with an underline.
    CTestCanvas doubled(40, 20, kWhite), single(40, 20, kWhite);
    Layout("&&", CRect(2, 2, 40, 20), 0)
        .Draw(doubled.Surface(), doubled.Surface().Bounds(), kBlack, nullptr);
    Layout("&", CRect(2, 2, 40, 20), DT_NOPREFIX)
        .Draw(single.Surface(), single.Surface().Bounds(), kBlack, nullptr);
    EXPECT_EQ(doubled.CountNot(CRect(0, 0, 40, 20), kWhite),
              single.CountNot(CRect(0, 0, 40, 20), kWhite));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(doubled.At(x, y), single.At(x, y)) << x << "," << y;

    CTestCanvas mnemonic(40, 20, kWhite), plain(40, 20, kWhite);
    Layout("&x", CRect(2, 2, 40, 20), 0)
        .Draw(mnemonic.Surface(), mnemonic.Surface().Bounds(), kBlack, nullptr);
    Layout("x", CRect(2, 2, 40, 20), 0)
        .Draw(plain.Surface(), plain.Surface().Bounds(), kBlack, nullptr);
    const int underlineRow = 2 + Face14().GetAscent() + Face14().GetUnderlineOffset();
    const CRect row(0, underlineRow, 40, underlineRow + 1);
    EXPECT_EQ(plain.CountNot(row, kWhite), 0);
    EXPECT_EQ(mnemonic.Count(row, kBlack), Width("x"));
}

TEST(TextLayout, CentredSingleLineIsClippedOnBothSides) {
    const std::string text = "A centred caption far wider than its box";
    const CRect rect(40, 4, 80, 30);
    CTestCanvas canvas(120, 34, kWhite);
    Layout(text, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE)
        .Draw(canvas.Surface(), canvas.Surface().Bounds(), kBlack, nullptr);
    EXPECT_EQ(canvas.CountNot(CRect(0, 0, rect.left, 34), kWhite), 0);
    EXPECT_EQ(canvas.CountNot(CRect(rect.right, 0, 120, 34), kWhite), 0);
    const std::vector<int> inked = InkedColumns(canvas, rect, kWhite);
    ASSERT_FALSE(inked.empty());
    EXPECT_LE(inked.front(), rect.left + 2);
    EXPECT_GE(inked.back(), rect.right - 3);

    // With DT_NOCLIP the same text spills out on both sides, by equal amounts within a pixel.
    CTestCanvas spilled(600, 34, kWhite);
    const CRect wide(280, 4, 320, 30);
    Layout(text, wide, DT_CENTER | DT_SINGLELINE | DT_NOCLIP)
        .Draw(spilled.Surface(), spilled.Surface().Bounds(), kBlack, nullptr);
    const std::vector<int> all = InkedColumns(spilled, CRect(0, 0, 600, 34), kWhite);
    ASSERT_FALSE(all.empty());
    ASSERT_GT(all.front(), 0);
    EXPECT_LT(all.front(), wide.left);
    EXPECT_GE(all.back(), wide.right);
    EXPECT_NEAR(wide.left - all.front(), all.back() + 1 - wide.right, 3);
}

TEST(TextLayout, AlignmentPlacesEachLine) {
    const int lineHeight = Face14().GetHeight();
    const int width = Width("Hi");
    struct Case {
        UINT format;
        int left;
        int top;
    } cases[] = {
        {DT_SINGLELINE, 10, 10},
        {DT_SINGLELINE | DT_RIGHT, 90 - width, 10},
        {DT_SINGLELINE | DT_CENTER, 10 + (80 - width) / 2, 10},
        {DT_SINGLELINE | DT_VCENTER, 10, 10 + (50 - lineHeight) / 2},
        {DT_SINGLELINE | DT_BOTTOM, 10, 60 - lineHeight},
        {DT_VCENTER, 10, 10}, // no effect on text that may hold several lines
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        CTestCanvas canvas(100, 70, kWhite);
        // An opaque cell shows exactly where the line was placed.
        const uint32_t cell = 0x00FF00;
        Layout("Hi", CRect(10, 10, 90, 60), c.format)
            .Draw(canvas.Surface(), canvas.Surface().Bounds(), kBlack, &cell);
        EXPECT_EQ(canvas.CountNot(CRect(c.left, c.top, c.left + width, c.top + lineHeight), kWhite),
                  width * lineHeight);
        EXPECT_EQ(canvas.CountNot(CRect(0, 0, 100, 70), kWhite), width * lineHeight);
    }
}

TEST(TextLayout, TextColourAndBackgroundModes) {
    const uint32_t red = 0xFF0000, blue = 0x0000FF, green = 0x00FF00;
    const int width = Width("Mm");
    const int height = Face14().GetHeight();
    const CRect cell(5, 5, 5 + width, 5 + height);

    CTestCanvas transparent(40, 30, blue);
    Layout("Mm", CRect(5, 5, 40, 30), DT_SINGLELINE)
        .Draw(transparent.Surface(), transparent.Surface().Bounds(), red, nullptr);
    EXPECT_GT(transparent.Count(cell, red), 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const uint32_t p = transparent.At(x, y);
            // Anti-aliased edges blend red over blue: never any green.
            ASSERT_EQ(p & 0x00FF00, 0u) << x << "," << y;
        }

    CTestCanvas opaque(40, 30, blue);
    Layout("Mm", CRect(5, 5, 40, 30), DT_SINGLELINE)
        .Draw(opaque.Surface(), opaque.Surface().Bounds(), red, &green);
    EXPECT_EQ(opaque.Count(cell, blue), 0);
    EXPECT_GT(opaque.Count(cell, green), 0);
    EXPECT_GT(opaque.Count(cell, red), 0);
    EXPECT_EQ(opaque.CountNot(CRect(0, 0, 40, 5), blue), 0);
    EXPECT_EQ(opaque.CountNot(CRect(cell.right, 0, 40, 30), blue), 0);
}

TEST(TextLayout, HostileInputStaysInsideTheClip) {
    const std::string invalid = "\xff\xfe broken \xc3 \xe2\x82 \xf4\x90\x80\x80 ok";
    struct Case {
        std::string text;
        CRect rect;
        UINT format;
    } cases[] = {
        {invalid, CRect(0, 0, 50, 40), DT_WORDBREAK},
        {"far away", CRect(INT32_MIN + 5, INT32_MIN + 5, INT32_MAX - 5, INT32_MAX - 5),
         DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {"far away", CRect(INT32_MAX - 5, 0, INT32_MAX, 30), DT_SINGLELINE | DT_NOCLIP},
        {"far away", CRect(INT32_MIN, 0, INT32_MIN + 5, 30), DT_RIGHT | DT_SINGLELINE | DT_NOCLIP},
        {"inverted", CRect(40, 30, 10, 5), DT_WORDBREAK},
        {"empty width", CRect(20, 0, 20, 40), DT_WORDBREAK | DT_NOCLIP},
        {std::string(5000, 'x'), CRect(-100, -3, 200, 40), DT_SINGLELINE | DT_NOCLIP},
        {std::string("nul\0inside", 10), CRect(0, 0, 50, 40), 0},
        {"&", CRect(0, 0, 50, 40), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        CTestCanvas canvas(50, 40, kWhite);
        const CRect clip(3, 3, 47, 37);
        Layout(c.text, c.rect, c.format).Draw(canvas.Surface(), clip, kBlack, &kBlack);
        EXPECT_TRUE(canvas.GuardIntact());
        EXPECT_EQ(canvas.CountNot(CRect(0, 0, 50, 3), kWhite), 0);
        EXPECT_EQ(canvas.CountNot(CRect(0, 37, 50, 40), kWhite), 0);
        EXPECT_EQ(canvas.CountNot(CRect(0, 0, 3, 40), kWhite), 0);
        EXPECT_EQ(canvas.CountNot(CRect(47, 0, 50, 40), kWhite), 0);
    }
    // Random bytes, rectangles and flags: the clip holds every time.
    unsigned seed = 7;
    const auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (int)((seed >> 8) % range);
    };
    const UINT flags[] = {DT_CENTER,     DT_RIGHT,      DT_VCENTER, DT_BOTTOM,  DT_WORDBREAK,
                          DT_SINGLELINE, DT_EXPANDTABS, DT_NOCLIP,  DT_NOPREFIX};
    for (int round = 0; round < 300; ++round) {
        std::string text((size_t)next(60), ' ');
        for (char& ch : text)
            ch = (char)(next(4) ? "ab &\n\r\t\xc3\xa9\xff"[next(11)] : next(256));
        UINT format = 0;
        for (UINT flag : flags)
            format |= next(2) ? flag : 0;
        const CRect rect(next(120) - 60, next(80) - 40, next(120) - 20, next(80) - 20);
        CTestCanvas canvas(50, 40, kWhite);
        const CRect clip(3, 3, 47, 37);
        Layout(text, rect, format)
            .Draw(canvas.Surface(), clip, kBlack, next(2) ? &kBlack : nullptr);
        ASSERT_TRUE(canvas.GuardIntact()) << round;
        ASSERT_EQ(canvas.CountNot(CRect(0, 0, 50, 40), kWhite), canvas.CountNot(clip, kWhite))
            << round;
    }
    // Invalid bytes still take room (each shows as a replacement character).
    EXPECT_GT(Width("\xff"), 0);
    EXPECT_EQ(Width("\xc3\xa9"), Width("\xc3\xa9"));
    EXPECT_EQ(Width("\xe2\x82"), 2 * Width("\xff"));
}

TEST(TextLayout, TabsAndControlCharacters) {
    const int ab = Width("a") + Width("b");
    const int tab = 8 * Face14().GetMetrics().tmAveCharWidth;
    struct Case {
        const char* text;
        UINT format;
        int width;
    } cases[] = {
        {"a\tb", DT_EXPANDTABS, ab + tab},
        {"a\tb", 0, ab},
        {"a\x01\x1f"
         "b",
         DT_EXPANDTABS, ab},
        {"a\r\nb", DT_SINGLELINE, ab},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Layout(c.text, CRect(0, 0, 500, 0), c.format | DT_CALCRECT).GetWidth(), c.width);
    }
}
