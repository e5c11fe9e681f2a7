// How long the thumbnail cell takes to paint an item, and the item list to measure its rows,
// on the in-memory screen. Run by hand: bench_cell [repeats]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/window/Dialog.h"
#include "framework/window/MessageLoop.h"
#include "pages/ListCombo.h"
#include "pages/ThumbnailCell.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"

namespace {

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void MakePicture(CItemPicture& picture, int width, int height) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            ((BYTE*)pBits)[(size_t)y * stride + x] = (BYTE)(x ^ y);
    picture.Attach(hBitmap);
}

// Paints the cell `repeats` times and returns the milliseconds per paint.
double TimePaints(CThumbnailCell& cell, int repeats) {
    const double start = NowMs();
    for (int i = 0; i < repeats; ++i) {
        cell.Invalidate();
        AfxPumpUntilIdle();
    }
    return (NowMs() - start) / repeats;
}

} // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? atoi(argv[1]) : 20;
    CHeadlessBackend backend(1024, 768);
    AfxSetBackend(&backend);
    RegisterProgramResources();
    CDialog main;
    main.Create(IDD_VIEWER, nullptr);
    main.MoveWindow(0, 0, 1024, 768);
    main.ShowWindow(SW_SHOW);
    CThumbnailCell cell;
    cell.Create(IDD_THUMBNAIL_CELL, &main);
    cell.ShowWindow(SW_SHOW);

    struct Case {
        const char* what;
        int cellWidth, cellHeight, bw, bh;
    } cases[] = {
        {"image view, 4000x3000 shrunk to 633x475", 800, 475, 4000, 3000},
        {"image view, 1024x768 shrunk to 633x475", 800, 475, 1024, 768},
        {"image view, 640x400 copied 1:1", 800, 475, 640, 400},
        {"thumbnail, 1600x1200 shrunk to 160x120", 160, 200, 1600, 1200},
        {"details cell, 4000x3000 shrunk to 140x105", 140, 200, 4000, 3000},
    };
    for (const Case& c : cases) {
        CItemPicture picture;
        MakePicture(picture, c.bw, c.bh);
        cell.MoveWindow(0, 0, c.cellWidth, c.cellHeight);
        cell.SetPicture(&picture, 0);
        AfxPumpUntilIdle();
        printf("%-45s %8.2f ms per paint\n", c.what, TimePaints(cell, repeats));
        cell.ClearPicture();
    }
    cell.MoveWindow(0, 0, 160, 200);
    cell.SetIconAndCaptions(nullptr, 0, "First caption line", "Second caption", "Item name");
    AfxPumpUntilIdle();
    printf("%-45s %8.2f ms per paint\n", "thumbnail, icon mode with three captions",
           TimePaints(cell, repeats * 10));

    CListCombo combo;
    combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE |
                     CBS_HASSTRINGS,
                 CRect(215, 560, 450, 710), &main, 400);
    const int rows = 1000;
    const double start = NowMs();
    for (int i = 0; i < rows; ++i)
        combo.AddString("An item of the collection");
    printf("%-45s %8.2f ms for %d rows\n", "item list, adding measured rows", NowMs() - start,
           rows);
    combo.DestroyWindow();
    cell.DestroyWindow();
    main.DestroyWindow();
    AfxSetBackend(nullptr);
    return 0;
}
