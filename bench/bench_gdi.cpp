// Painting figures: halftone shrinking of a camera-sized picture, a full-screen repaint of
// flat fills, frames and short text lines, and the About box's darkening.
// Run: build/bench/bench_gdi (prints the best and the median processor time of each).
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "framework/core/String.h"
#include "framework/gdi/DC.h"

namespace {

// The thread's own processor time: steadier than the wall clock on a busy machine.
double CpuMs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void Report(const char* what, int runs, const std::function<void()>& work) {
    std::vector<double> ms;
    work(); // warm caches and glyphs
    for (int i = 0; i < runs; ++i) {
        const double start = CpuMs();
        work();
        ms.push_back(CpuMs() - start);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-58s best %8.3f ms   median %8.3f ms (processor time)\n", what, ms.front(),
                ms[ms.size() / 2]);
}

HBITMAP MakePicture(int w, int h) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP hbm = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    BYTE* p = static_cast<BYTE*>(bits);
    const size_t stride = ((size_t)w * 3 + 3) / 4 * 4;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 3; ++x)
            p[(size_t)y * stride + (size_t)x] = (BYTE)(x * 7 + y * 13);
    return hbm;
}

void Dim(CDC& dc, const CRect& rc) {
    const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    CBitmap pattern;
    pattern.CreateBitmap(8, 8, 1, 1, rows);
    CBrush brush;
    brush.CreatePatternBrush(&pattern);
    CBrush* old = dc.SelectObject(&brush);
    dc.SetBkColor(RGB(255, 255, 255));
    dc.SetTextColor(RGB(0, 0, 0));
    dc.PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), ROP_DEST_AND_PATTERN);
    dc.SetBkColor(RGB(0, 0, 0));
    dc.SetTextColor(RGB(10, 10, 10));
    dc.PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), ROP_DEST_OR_PATTERN);
    dc.SelectObject(old);
}

} // namespace

int main() {
    std::vector<uint32_t> pixels(1024 * 768);
    CSurface screen;
    screen.pixels = pixels.data();
    screen.width = 1024;
    screen.height = 768;
    screen.pitch = 1024;
    CDC dc;
    dc.Attach(AfxCreateSurfaceDC(&screen, CPoint(), screen.Bounds()));

    CBitmap picture;
    picture.Attach(MakePicture(4000, 3000));
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap* oldBitmap = mem.SelectObject(&picture);
    dc.SetStretchBltMode(HALFTONE);
    Report("HALFTONE StretchBlt 4000x3000 (24-bit) -> 633x475", 15,
           [&] { dc.StretchBlt(83, 68, 633, 475, &mem, 0, 0, 4000, 3000, SRCCOPY); });
    Report("HALFTONE StretchBlt 4000x3000 (24-bit) -> 160x120", 15,
           [&] { dc.StretchBlt(0, 0, 160, 120, &mem, 0, 0, 4000, 3000, SRCCOPY); });
    dc.SetStretchBltMode(COLORONCOLOR);
    Report("COLORONCOLOR StretchBlt 4000x3000 (24-bit) -> 633x475", 15,
           [&] { dc.StretchBlt(83, 68, 633, 475, &mem, 0, 0, 4000, 3000, SRCCOPY); });
    mem.SelectObject(oldBitmap);

    CBitmap offscreen;
    offscreen.CreateCompatibleBitmap(&dc, 800, 475);
    oldBitmap = mem.SelectObject(&offscreen);
    Report("BitBlt SRCCOPY 800x475 (32-bit memory bitmap)", 50,
           [&] { dc.BitBlt(112, 146, 800, 475, &mem, 0, 0, SRCCOPY); });
    mem.SelectObject(oldBitmap);

    CBrush face(RGB(49, 49, 49)), frame(RGB(67, 67, 67));
    auto fillsAndFrames = [&] {
        dc.FillSolidRect(0, 0, 1024, 768, RGB(0, 0, 0));
        for (int i = 0; i < 8; ++i) {
            CRect button(112 + i * 100, 700, 200 + i * 100, 724);
            dc.FrameRect(&button, &frame);
            button.DeflateRect(1, 1);
            dc.FillRect(&button, &face);
        }
        CPen pen(PS_SOLID, 0, RGB(51, 51, 51));
        CPen* oldPen = dc.SelectObject(&pen);
        dc.MoveTo(112, 134);
        dc.LineTo(912, 134);
        dc.MoveTo(112, 634);
        dc.LineTo(912, 634);
        dc.SelectObject(oldPen);
    };
    Report("repaint 1024x768: fills, 8 framed buttons, 2 lines", 50, fillsAndFrames);
    const CString line("3 of 12 * Teapot, porcelain");
    Report("repaint 1024x768: the same and 40 text lines", 50, [&] {
        fillsAndFrames();
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(204, 204, 204));
        for (int i = 0; i < 40; ++i)
            dc.TextOut(120, 140 + i * 14, line);
    });
    Report("DimWindow 1024x768 (two pattern passes)", 50, [&] { Dim(dc, screen.Bounds()); });
    return 0;
}
