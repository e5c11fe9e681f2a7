// Text speed: wrapping and measuring a 2,000-character paragraph at 559 pixels (the details
// value field's text width), glyph-cold and glyph-warm, through the device context the windows
// use; painting the same paragraph; and a block of short TextOut lines.
// Run: build/bench/bench_text (prints the best and the median processor time of each).
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "framework/gdi/DC.h"

namespace {

// The thread's own processor time: steadier than the wall clock on a busy machine.
double NowMicroseconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

// Runs `work` `trials` times, `repeat` calls each, and prints the time of one call.
void Report(const char* what, int trials, int repeat, const std::function<void(int)>& work) {
    std::vector<double> us;
    for (int t = 0; t < trials; ++t) {
        const double start = NowMicroseconds();
        for (int i = 0; i < repeat; ++i)
            work(t);
        us.push_back((NowMicroseconds() - start) / repeat);
    }
    std::sort(us.begin(), us.end());
    std::printf("%-52s best %9.2f us   median %9.2f us\n", what, us.front(), us[us.size() / 2]);
}

std::string Paragraph(size_t length) {
    static const char* words[] = {"collection", "of",       "painted", "tin",        "soldiers",
                                  "from",       "the",      "late",    "nineteenth", "century,",
                                  "bought",     "at",       "auction", "in",         "Paris;",
                                  "condition",  "very",     "good",    "&",          "original",
                                  "box",        "included."};
    std::string text;
    unsigned seed = 12345;
    while (text.size() < length) {
        seed = seed * 1103515245 + 12345;
        text += words[(seed >> 16) % (sizeof words / sizeof *words)];
        text += ' ';
    }
    text.resize(length);
    return text;
}

LOGFONT FieldFont(int height) {
    LOGFONT lf;
    SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    lf.lfHeight = height;
    return lf;
}

} // namespace

int main() {
    const std::string text = Paragraph(2000);
    const int length = (int)text.size();
    std::vector<uint32_t> pixels(600 * 800, 0xFFFFFF);
    CSurface surface{pixels.data(), 600, 800, 600};
    CDC dc;
    dc.Attach(AfxCreateSurfaceDC(&surface, CPoint(0, 0), surface.Bounds()));
    const auto measure = [&] {
        CRect rect(0, 0, 559, 0);
        return dc.DrawText(text.c_str(), length, &rect, DT_CALCRECT | DT_WORDBREAK | DT_VCENTER);
    };

    // Glyph-cold: each trial selects a size not used before, so the font is opened and every
    // character rendered on first sight. The very first also starts fontconfig.
    std::vector<CFont> fonts(40);
    const auto coldFont = [&](int index) {
        const LOGFONT lf = FieldFont(-(8 + index));
        fonts[index].CreateFontIndirect(&lf);
        dc.SelectObject(&fonts[index]);
    };
    Report("first font: fontconfig start, open, 1 character", 1, 1, [&](int) {
        coldFont(0);
        dc.GetTextExtent("x", 1);
    });
    Report("a new font size: open, no characters", 19, 1, [&](int t) {
        coldFont(1 + t);
        dc.GetTextExtent("", 0);
    });
    Report("wrap+measure 2000 chars at 559 px, glyph-cold", 19, 1, [&](int t) {
        dc.SelectObject(&fonts[1 + t]);
        measure();
    });

    CFont font;
    const LOGFONT lf = FieldFont(14);
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    measure();
    Report("wrap+measure 2000 chars at 559 px, glyphs cached", 21, 1000, [&](int) { measure(); });
    dc.SetBkMode(TRANSPARENT);
    Report("wrap+paint the same paragraph (22 lines)", 21, 20, [&](int) {
        CRect rect(5, 5, 564, 795);
        dc.DrawText(text.c_str(), length, &rect, DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX);
    });
    Report("40 TextOut lines of 22 characters", 21, 20, [&](int) {
        for (int row = 0; row < 40; ++row)
            dc.TextOut(10, row * 18, "Item 12 of 40 * Teapot", 22);
    });
    CRect rect(0, 0, 559, 0);
    dc.DrawText(text.c_str(), length, &rect, DT_CALCRECT | DT_WORDBREAK);
    std::printf("(the paragraph wraps to %d lines of 14 pixels)\n", rect.Height() / 14);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    return 0;
}
