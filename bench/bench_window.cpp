// Window system speed: message dispatch through SendMessage, and a full repaint of a
// full-screen window tree on the headless display. Run by hand; prints milliseconds.
#include <chrono>
#include <cstdio>
#include <vector>

#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/gdi/DC.h"
#include "framework/window/MessageLoop.h"
#include "framework/window/PaintDC.h"
#include "framework/window/Wnd.h"

namespace {
class CCounter : public CWnd {
public:
    long m_nCommands = 0;
    long m_nNotifies = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        m_nCommands += LOWORD(wParam);
        return TRUE;
    }
    BOOL OnNotify(WPARAM, LPARAM, LRESULT* pResult) override {
        ++m_nNotifies;
        *pResult = 0;
        return TRUE;
    }
};

class CFilled : public CWnd {
public:
    explicit CFilled(COLORREF cr) : m_cr(cr) {}

protected:
    void OnPaint() override {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, m_cr);
    }
    COLORREF m_cr;
};

double Millis(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}
} // namespace

int main() {
    CHeadlessBackend backend(1024, 768);
    AfxSetBackend(&backend);

    CCounter counter;
    counter.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
    const int N = 100000;
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        auto start = std::chrono::steady_clock::now();
        NMHDR nm{counter.m_hWnd, 1, NM_CLICK};
        for (int i = 0; i < N; i += 2) {
            counter.SendMessage(WM_COMMAND, MAKEWPARAM(1, 0), 0);
            ::SendMessage(counter.m_hWnd, WM_NOTIFY, 1, (LPARAM)&nm);
        }
        double ms = Millis(start);
        if (ms < best)
            best = ms;
    }
    std::printf("SendMessage x %d with handlers: %.2f ms (best of 5)\n", N, best);
    counter.DestroyWindow();

    // A full-screen window with 8 × 6 children, repainted as RDW_ALLCHILDREN asks.
    CFilled main(RGB(0, 0, 0));
    main.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1024, 768),
                  nullptr, 0);
    std::vector<CFilled*> cells;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            CFilled* pCell = new CFilled(RGB(x * 30, y * 40, 100));
            pCell->Create(nullptr, "", WS_VISIBLE,
                          CRect(x * 128, y * 128, x * 128 + 120, y * 128 + 120), &main, 1);
            cells.push_back(pCell);
        }
    }
    AfxPumpUntilIdle();
    best = 1e9;
    for (int round = 0; round < 10; ++round) {
        auto start = std::chrono::steady_clock::now();
        main.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        AfxPumpUntilIdle();
        double ms = Millis(start);
        if (ms < best)
            best = ms;
    }
    std::printf("Full repaint of a 1024 x 768 window and 48 children: %.2f ms (best of 10)\n",
                best);
    best = 1e9;
    for (int round = 0; round < 10; ++round) {
        auto start = std::chrono::steady_clock::now();
        cells[0]->Invalidate();
        AfxPumpUntilIdle();
        double ms = Millis(start);
        if (ms < best)
            best = ms;
    }
    std::printf("Repaint of one 120 x 120 child: %.3f ms (best of 10)\n", best);
    main.DestroyWindow();
    for (CFilled* pCell : cells)
        delete pCell;
    AfxSetBackend(nullptr);
    return 0;
}
