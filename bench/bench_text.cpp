// Text speed: wrapping and measuring a 2,000-character paragraph at 559 pixels (the details
// value field's text width), glyph-cold and glyph-warm, through the device context the windows
// use; painting the same paragraph; and a row of short TextOut lines.
//   bench_text [iterations]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/gdi/DC.h"
#include "framework/gdi/FontEngine.h"

namespace {

typedef std::chrono::steady_clock Clock;

double Microseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::micro>(Clock::now() - since).count();
}

std::string Paragraph(size_t length) {
    static const char* words[] = {"collection", "of", "painted", "tin", "soldiers", "from",
                                  "the", "late", "nineteenth", "century,", "bought", "at",
                                  "auction", "in", "Paris;", "condition", "very", "good", "&",
                                  "original", "box", "included."};
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

}  // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    const std::string text = Paragraph(2000);
    std::vector<uint32_t> pixels(600 * 800, 0xFFFFFF);
    CSurface surface{pixels.data(), 600, 800, 600};
    CDC dc;
    dc.Attach(AfxCreateSurfaceDC(&surface, CPoint(0, 0), surface.Bounds()));

    // Glyph-cold: a font size not used before, so every character is rendered on first sight.
    double coldTotal = 0, realiseTotal = 0;
    int coldRuns = 0, lines = 0;
    for (int height = 10; height < 30; ++height, ++coldRuns) {
        CFont font;
        const LOGFONT lf = FieldFont(height);
        font.CreateFontIndirect(&lf);
        CFont* previous = dc.SelectObject(&font);
        Clock::time_point start = Clock::now();
        dc.GetTextExtent("", 0); // realises the font, renders no glyph
        realiseTotal += Microseconds(start);
        start = Clock::now();
        CRect rect(0, 0, 559, 0);
        dc.DrawText(text.c_str(), (int)text.size(), &rect, DT_CALCRECT | DT_WORDBREAK | DT_VCENTER);
        coldTotal += Microseconds(start);
        if (height == 14) lines = rect.Height() / 14;
        dc.SelectObject(previous);
    }

    CFont font;
    const LOGFONT lf = FieldFont(14);
    font.CreateFontIndirect(&lf);
    CFont* previous = dc.SelectObject(&font);
    Clock::time_point start = Clock::now();
    int checksum = 0;
    for (int i = 0; i < iterations; ++i) {
        CRect rect(0, 0, 559, 0);
        checksum += dc.DrawText(text.c_str(), (int)text.size(), &rect, DT_CALCRECT | DT_WORDBREAK | DT_VCENTER);
    }
    const double warm = Microseconds(start) / iterations;

    const int paints = std::max(1, iterations / 50);
    dc.SetBkMode(TRANSPARENT);
    start = Clock::now();
    for (int i = 0; i < paints; ++i) {
        CRect rect(5, 5, 564, 795);
        dc.DrawText(text.c_str(), (int)text.size(), &rect, DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX);
    }
    const double paint = Microseconds(start) / paints;

    start = Clock::now();
    for (int i = 0; i < paints; ++i)
        for (int row = 0; row < 40; ++row) dc.TextOut(10, row * 18, "Item 12 of 40 * Teapot", 22);
    const double textOuts = Microseconds(start) / paints;
    dc.SelectObject(previous);
    dc.DeleteDC();

    std::printf("paragraph: 2000 characters, %d lines of 14-pixel text at 559 pixels\n", lines);
    std::printf("realising a new font size:                %8.1f us (mean of %d sizes)\n", realiseTotal / coldRuns, coldRuns);
    std::printf("wrap+measure, glyph-cold (after that):    %8.1f us (mean of %d sizes)\n", coldTotal / coldRuns, coldRuns);
    std::printf("wrap+measure, glyphs cached:              %8.2f us (mean of %d)\n", warm, iterations);
    std::printf("wrap+paint, glyphs cached:                %8.1f us (mean of %d)\n", paint, paints);
    std::printf("40 TextOut lines of 22 characters:        %8.1f us (mean of %d)\n", textOuts, paints);
    return checksum == 0 ? 1 : 0;
}
