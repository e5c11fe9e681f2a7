// Control speed on the headless screen at 1024 x 768: laying out a details table of 40 wrapped
// fields in a scrolling panel (measure, move, size the content), repainting the whole panel,
// one line-scroll step with its repaint, and repainting the eight buttons of the main window;
// then a comment of 10,000 lines in the Comments page's panel: its measurement, its first paint
// and one line step of the panel's bar with its repaint.
//   bench_controls [iterations]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "controls/XScrollPanel.h"
#include "controls/XWebButton.h"
#include "controls/XWrappingStatic.h"
#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/window/MessageLoop.h"
#include "res/ProgramResources.h"

namespace {

typedef std::chrono::steady_clock Clock;

double Microseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::micro>(Clock::now() - since).count();
}

std::string Words(unsigned seed, size_t length) {
    static const char* words[] = {"bronze", "coin",     "of",   "the",  "late", "empire,", "struck",
                                  "at",     "Antioch;", "very", "fine", "&",    "toned",   "edge"};
    std::string text;
    while (text.size() < length) {
        seed = seed * 1103515245 + 12345;
        text += words[(seed >> 16) % (sizeof words / sizeof *words)];
        text += ' ';
    }
    text.resize(length);
    return text;
}

class CBenchHost : public CWnd {
public:
    BOOL CreateHost() {
        m_brBack.CreateSolidBrush(RGB(0, 0, 0));
        LPCTSTR lpszClass = AfxRegisterWndClass(0, nullptr, (HBRUSH)m_brBack.GetSafeHandle());
        return CreateEx(0, lpszClass, "bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1024, 768),
                        nullptr, 0);
    }

private:
    CBrush m_brBack;
};

} // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    CHeadlessBackend backend(1024, 768);
    AfxSetBackend(&backend);
    RegisterProgramResources();
    CBenchHost host;
    host.CreateHost();

    XScrollPanel panel;
    panel.Create(&host, WS_CHILD | WS_VSCROLL, 400);
    panel.MoveWindow(327, 149, 570, 460);
    panel.SetBackColor(RGB(51, 51, 51));
    std::vector<std::unique_ptr<XWrappingStatic>> fields;
    for (int i = 0; i < 40; ++i) {
        fields.emplace_back(new XWrappingStatic);
        fields.back()->Create(&panel, i % 2 == 0);
        fields.back()->SetBackColor(0);
        fields.back()->SetTextColor(0xCCCCCC);
    }
    AfxPumpUntilIdle();

    Clock::time_point start = Clock::now();
    for (int n = 0; n < iterations; ++n) {
        panel.ScrollToPosition(CPoint(0, 0));
        int y = 0;
        for (int i = 0; i < 40; i += 2) {
            fields[i]->SetText(Words(n * 40 + i, 12).c_str());
            fields[i + 1]->SetText(Words(n * 40 + i + 1, 60 + 7 * i).c_str());
            const int h = fields[i + 1]->GetWrappedHeight(359);
            fields[i]->MoveWindow(0, y, 190, h);
            fields[i + 1]->MoveWindow(192, y, 359, h);
            y += h + 2;
        }
        panel.SetContentSize(0, y);
    }
    const double layout = Microseconds(start) / iterations;
    AfxPumpUntilIdle();

    start = Clock::now();
    for (int n = 0; n < iterations; ++n) {
        panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        AfxPumpUntilIdle();
    }
    const double repaint = Microseconds(start) / iterations;

    int steps = 0;
    start = Clock::now();
    for (int n = 0; n < iterations; ++n) {
        panel.SendMessage(WM_VSCROLL, n % 20 < 10 ? SB_PAGEDOWN : SB_PAGEUP, 0);
        AfxPumpUntilIdle();
        ++steps;
    }
    const double scroll = Microseconds(start) / steps;

    std::vector<std::unique_ptr<XWebButton>> buttons;
    const char* captions[] = {"PREVIOUS", "NEXT",    "EXIT",       "ABOUT",
                              "IMAGE",    "DETAILS", "THUMBNAILS", "-"};
    for (int i = 0; i < 8; ++i) {
        buttons.emplace_back(new XWebButton);
        buttons.back()->Create(&host, 300 + i, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0));
        buttons.back()->SetWindowText(captions[i]);
        buttons.back()->SetBackColor(0x313131);
        buttons.back()->SetTextColor(0xFFFFFF);
        buttons.back()->SetFrameColor(0x434343);
        buttons.back()->MoveWindow(112 + 100 * i, 700, 90, 22);
    }
    AfxPumpUntilIdle();
    start = Clock::now();
    for (int n = 0; n < iterations; ++n) {
        for (auto& button : buttons)
            button->Invalidate();
        AfxPumpUntilIdle();
    }
    const double buttonsRepaint = Microseconds(start) / iterations;

    // A comment of 10,000 lines, as the Comments page shows it.
    XScrollPanel comments;
    comments.Create(&host, WS_CHILD | WS_VSCROLL, 401);
    comments.MoveWindow(327, 149, 570, 460);
    comments.SetBackColor(RGB(51, 51, 51));
    std::string longText;
    for (int i = 0; i < 10000; ++i)
        longText += Words(i, 60) + "\n";
    XWrappingStatic comment;
    comment.Create(&comments, FALSE);
    comment.SetBackColor(0);
    comment.SetTextColor(0xCCCCCC);
    AfxPumpUntilIdle();
    std::vector<double> measures, firstPaints, steps10k;
    for (int n = 0; n < 5; ++n) {
        comment.SetText(longText.c_str());
        start = Clock::now();
        const int h = comment.GetWrappedHeight(556);
        measures.push_back(Microseconds(start));
        comments.ScrollToPosition(CPoint(0, 0));
        comment.MoveWindow(0, 0, 556, h);
        comments.SetContentSize(0, h);
        start = Clock::now();
        comments.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        AfxPumpUntilIdle();
        firstPaints.push_back(Microseconds(start));
    }
    for (int n = 0; n < iterations; ++n) {
        start = Clock::now();
        comments.SendMessage(WM_VSCROLL, n % 40 < 20 ? SB_LINEDOWN : SB_LINEUP, 0);
        AfxPumpUntilIdle();
        steps10k.push_back(Microseconds(start));
    }
    std::sort(measures.begin(), measures.end());
    std::sort(firstPaints.begin(), firstPaints.end());
    std::sort(steps10k.begin(), steps10k.end());

    std::printf("details layout, 40 fields measured and placed: %8.1f us\n", layout);
    std::printf("details panel full repaint (570 x 460):        %8.1f us\n", repaint);
    std::printf("page scroll step with repaint:                 %8.1f us\n", scroll);
    std::printf("eight buttons repainted:                       %8.1f us\n", buttonsRepaint);
    std::printf("comment of 10,000 lines (some with \"&\"), medians:\n");
    std::printf("  measured by its owner (GetWrappedHeight):    %8.1f us\n",
                measures[measures.size() / 2]);
    std::printf("  first paint after that:                      %8.1f us   (goal <= 20 ms)\n",
                firstPaints[firstPaints.size() / 2]);
    std::printf("  one line step with its repaint:              %8.1f us   (goal <= 5 ms)\n",
                steps10k[steps10k.size() / 2]);
    comment.DestroyWindow();
    comments.DestroyWindow();
    buttons.clear();
    fields.clear();
    panel.DestroyWindow();
    host.DestroyWindow();
    AfxSetBackend(nullptr);
    return 0;
}
