// Presenting through SDL: a whole 1024 × 768 screen, and a button-sized changed rectangle.
// Run under an X display: scripts/with-display.sh build/bench/bench_present
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "framework/backend/sdl/SdlBackend.h"

namespace {

double MeasureMs(CSdlBackend& backend, const std::vector<CRect>& rects, int rounds) {
    CSurface& s = backend.GetSurface();
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        // Change the pixels each round, as a real repaint would.
        for (const CRect& r : rects)
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    s.Row(y)[x] = (uint32_t)(x * 7 + y * 13 + i * 0x010101);
        backend.Present(rects);
    }
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count() / rounds;
}

double MeasurePresentOnlyMs(CSdlBackend& backend, const std::vector<CRect>& rects, int rounds) {
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        backend.Present(rects);
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count() / rounds;
}

} // namespace

int main() {
    setenv(CSdlBackend::SCREEN_ENV, "1024x768", 0);
    CSdlBackend backend;
    if (!backend.Open("bench_present")) {
        fprintf(stderr, "bench_present: %s\n", backend.GetError().GetString());
        return 1;
    }
    backend.ShowScreen();
    BackendEvent e;
    while (backend.NextEvent(e, 200)) {
    }
    const CSize size = backend.GetScreenSize();
    const std::vector<CRect> full = {CRect(0, 0, size.cx, size.cy)};
    const std::vector<CRect> button = {CRect(113, 566, 113 + 90, 566 + 22)};
    MeasurePresentOnlyMs(backend, full, 10); // warm up the shared memory image
    printf("screen %d x %d\n", (int)size.cx, (int)size.cy);
    printf("full update, present only:      %.3f ms\n", MeasurePresentOnlyMs(backend, full, 200));
    printf("button update, present only:    %.3f ms\n",
           MeasurePresentOnlyMs(backend, button, 2000));
    printf("full update, pixels changed:    %.3f ms\n", MeasureMs(backend, full, 100));
    printf("button update, pixels changed:  %.3f ms\n", MeasureMs(backend, button, 2000));
    return 0;
}
