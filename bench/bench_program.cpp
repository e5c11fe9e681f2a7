// Measures the whole program on the display it runs on (SDL; run it under scripts/with-display.sh
// where there is no desktop), each figure as a ratio to a reference taken in the same run:
//   - NEXT to the painted 12-megapixel picture after a pause of a second (its picture decoded
//     ahead meanwhile), NEXT clicked again as soon as each picture is painted, and a list pick
//     of such a picture (decoded on the spot), against djpeg decoding the same file, and the
//     floor of a step that must wait for its decode: djpeg at the image view's scale, 1/4;
//   - a thumbnails page of eight 12-megapixel pictures, against eight djpeg decodes, and the
//     floor of its decodes: eight djpeg decodes at 1/8;
//   - a comment of 10,000 lines on the Comments page: a whole repaint and a line step, each
//     with its present (the goals: 20 ms and 5 ms);
//   - start-up of a 1,000-item collection to the painted Comments view, against an empty SDL
//     window's start-up (the goal: at most 50 ms more);
//   - peak memory while a 24-megapixel picture shows, against a blank SDL window's (the goal:
//     at most half the decoded bitmap more), and while the thumbnails page of eight
//     12-megapixel pictures shows, each measured in a process of its own.
// The pictures are stored as slideshow-pack stores them.
//   bench_program [runs]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/BenchSupport.h"
#include "framework/backend/sdl/SdlBackend.h"
#include "framework/system/ModulePath.h"
#include "framework/window/MessageLoop.h"
#include "framework/window/WindowTree.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"
#include "shell/ViewerDlg.h"
#include "tools/pack/RowRestarts.h"
#include "tools/writer/CollectionWriter.h"

namespace {

using namespace bench;

ITEM_RECORD MakeItem(int i, const std::vector<BYTE>* pJpeg, const CString& comments = CString()) {
    ITEM_RECORD item;
    item.m_strName = ("Item number " + std::to_string(i + 1)).c_str();
    item.m_strLine1 = "Line one";
    item.m_strLine2 = "Line two";
    item.m_strComments = comments.IsEmpty() ? CString(std::string(2000, 'c')) : comments;
    item.m_strCollectionTitle = "Benchmark collection";
    item.m_strCreatedBy = "Bench";
    item.m_strDateCreated = "today";
    for (const char* name : {"Country", "Year", "Material", "Grade"}) {
        item.detailNames.Add(name);
        item.detailValues.Add("Some value");
    }
    if (pJpeg != nullptr) {
        item.bPicture = TRUE;
        item.jpeg = *pJpeg;
    }
    return item;
}

// Item 0 small (the Comments page decodes it, and shows its comments), then `count` items with
// the big picture.
std::string WriteCollection(const std::string& path, int count, const std::vector<BYTE>& big,
                            const std::vector<BYTE>& small, const CString& comments = CString()) {
    CCollectionWriter writer;
    writer.SetHeader("bench");
    writer.AddItem(MakeItem(0, &small, comments));
    for (int i = 1; i <= count; ++i)
        writer.AddItem(MakeItem(i, &big));
    if (!writer.WriteFile(path.c_str(), FALSE)) {
        std::fprintf(stderr, "bench_program: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    return path;
}

// The program's main window on the SDL display, as main() and start-up run it.
class CProgram {
public:
    explicit CProgram(const std::string& path) {
        AfxSetModulePath(path.c_str());
        if (!m_backend.Open("bench")) {
            std::fprintf(stderr, "bench_program: no display: %s\n",
                         m_backend.GetError().GetString());
            std::exit(77);
        }
        AfxSetBackend(&m_backend);
        m_dlg.Create(IDD_VIEWER, nullptr);
        m_dlg.ShowWindow(SW_SHOW);
        AfxPumpUntilIdle();
    }
    ~CProgram() {
        m_dlg.DestroyWindow();
        AfxSetBackend(nullptr);
    }
    void Command(UINT nID) {
        CWnd* pControl = m_dlg.GetDlgItem((int)nID);
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                          (LPARAM)(pControl ? pControl->GetSafeHwnd() : nullptr));
        AfxPumpUntilIdle();
    }
    CViewerDlg& Dlg() { return m_dlg; }
    void PickRow(int nRow) {
        CWnd& list = Child("CListCombo");
        list.SendMessage(CB_SETCURSEL, (WPARAM)nRow, 0);
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_ITEM_LIST, CBN_SELCHANGE),
                          (LPARAM)list.GetSafeHwnd());
        AfxPumpUntilIdle();
    }
    // The main window's child of that class, found in its window tree.
    CWnd& Child(const char* pszClass) {
        const CWindowTree tree(&m_dlg);
        for (const WINDOW_NODE& node : tree.Nodes())
            if (node.nDepth == 1 && node.strClass == pszClass)
                return *node.pWnd;
        std::fprintf(stderr, "bench_program: no %s\n", pszClass);
        std::exit(1);
    }

private:
    CSdlBackend m_backend;
    CViewerDlg m_dlg;
};

// 10,000 lines of words, each line shorter than the panel is wide.
CString TenThousandLines() {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "Line " + std::to_string(i + 1) + " of the comments, with a few words on it\n";
    return CString(text.c_str());
}

// The reference: the same backend, its window made and shown as the program's is, painted
// black and presented.
double EmptyWindowStartup() {
    const Clock::time_point start = Clock::now();
    CSdlBackend backend;
    if (!backend.Open("bench"))
        std::exit(77);
    backend.ShowScreen();
    CSurface& surface = backend.GetSurface();
    const CSize size = backend.GetScreenSize();
    for (int y = 0; y < size.cy; ++y)
        std::memset(surface.Row(y), 0, (size_t)size.cx * 4);
    backend.Present({CRect(0, 0, size.cx, size.cy)});
    return MillisecondsSince(start);
}

long PeakKilobytes() {
    FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (f != nullptr && std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            kb = std::atol(line + 6);
    if (f != nullptr)
        std::fclose(f);
    return kb;
}

// Child modes for the memory figures: each prints its peak in kilobytes.
int PeakChild(const char* mode, const char* path) {
    RegisterProgramResources();
    if (std::strcmp(mode, "blank") == 0) {
        CSdlBackend backend;
        if (!backend.Open("bench"))
            return 77;
        backend.ShowScreen();
        backend.Present({CRect(CPoint(0, 0), backend.GetScreenSize())});
        std::printf("%ld\n", PeakKilobytes());
        return 0;
    }
    CProgram program(path);
    if (std::strcmp(mode, "page") == 0)
        program.Command(ID_NEXT); // Comments → Thumbnails; items 0 to 7
    else
        program.PickRow(4); // item 1: the big picture in the image view; item 2 decoded ahead
    program.Dlg().WaitForAheadItem();
    std::printf("%ld\n", PeakKilobytes());
    return 0;
}

long RunPeakChild(const char* self, const char* mode, const std::string& path) {
    const std::string command = std::string(self) + " --peak " + mode + " '" + path + "'";
    FILE* p = ::popen(command.c_str(), "r");
    long kb = -1;
    if (p == nullptr || std::fscanf(p, "%ld", &kb) != 1)
        kb = -1;
    if (p != nullptr)
        ::pclose(p);
    return kb;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "--peak") == 0)
        return PeakChild(argv[2], argv[3]);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    RegisterProgramResources();
    char tmpl[] = "/tmp/bench-program-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    setenv("TMPDIR", dir.c_str(), 1);

    std::printf("bench_program: making pictures...\n");
    std::fflush(stdout);
    // As slideshow-pack stores them: with a restart marker every MCU row.
    const std::vector<BYTE> photo12 = CRowRestarts::Add(MakePhoto(4000, 3000));
    const std::vector<BYTE> small = CRowRestarts::Add(MakePhoto(64, 48));
    WriteBytes(dir + "/photo12.jpg", photo12);
    const std::string next12 = WriteCollection(dir + "/next12", 2, photo12, small);
    const std::string page12 = WriteCollection(dir + "/page12", 8, photo12, small);
    const std::string many = WriteCollection(dir + "/many", 999, small, small);

    const std::string walk12 = WriteCollection(dir + "/walk12", 10, photo12, small);
    const std::string comments =
        WriteCollection(dir + "/comments", 1, small, small, TenThousandLines());

    std::vector<double> djpeg, quarter, nextPaused, nextFast, pick, page, repaint, eight, eighth,
        empty, startup, commentsPaint, commentsStep;
    for (int r = 0; r < runs; ++r) {
        djpeg.push_back(TimeDjpeg(dir + "/photo12.jpg"));
        quarter.push_back(TimeDjpeg(dir + "/photo12.jpg", "1/4"));
        double sum = 0, sumEighth = 0;
        for (int k = 0; k < 8; ++k) {
            sum += TimeDjpeg(dir + "/photo12.jpg");
            sumEighth += TimeDjpeg(dir + "/photo12.jpg", "1/8");
        }
        eight.push_back(sum);
        eighth.push_back(sumEighth);
        {
            CProgram program(next12);
            Clock::time_point start = Clock::now();
            program.PickRow(4); // item 1, decoded on the spot
            pick.push_back(MillisecondsSince(start));
            ::usleep(1000 * 1000);
            start = Clock::now();
            program.Command(ID_NEXT); // item 2: a 12-megapixel picture
            nextPaused.push_back(MillisecondsSince(start));
        }
        {
            // Each NEXT as soon as the one before is painted: its picture has been decoding
            // ahead since then.
            CProgram program(walk12);
            program.PickRow(4);
            const int steps = 8;
            const Clock::time_point start = Clock::now();
            for (int k = 0; k < steps; ++k)
                program.Command(ID_NEXT);
            nextFast.push_back(MillisecondsSince(start) / steps);
        }
        {
            CProgram program(page12);
            const Clock::time_point start = Clock::now();
            program.Command(ID_NEXT); // Comments → Thumbnails; items 0 to 7
            page.push_back(MillisecondsSince(start));
            const Clock::time_point startPaint = Clock::now();
            program.Child("CThumbnailsPage")
                .RedrawWindow(nullptr, nullptr,
                              RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            AfxPumpUntilIdle();
            repaint.push_back(MillisecondsSince(startPaint));
        }
        {
            CProgram program(comments);
            XScrollPanel& panel =
                dynamic_cast<CCommentsPage&>(program.Child("CCommentsPage")).GetCommentsPanel();
            Clock::time_point start = Clock::now();
            panel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            AfxPumpUntilIdle();
            commentsPaint.push_back(MillisecondsSince(start));
            const int steps = 40;
            start = Clock::now();
            for (int k = 0; k < steps; ++k) {
                panel.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
                AfxPumpUntilIdle();
            }
            commentsStep.push_back(MillisecondsSince(start) / steps);
        }
        empty.push_back(EmptyWindowStartup());
        {
            const Clock::time_point start = Clock::now();
            CProgram program(many);
            startup.push_back(MillisecondsSince(start));
        }
    }
    const long blankKb = RunPeakChild(argv[0], "blank", "");
    const std::string big24 =
        WriteCollection(dir + "/big24", 2, CRowRestarts::Add(MakePhoto(6000, 4000)), small);
    const long pictureKb = RunPeakChild(argv[0], "picture", big24);
    const double bitmapKb = 6000.0 * 4000.0 * 3.0 / 1024.0;
    const long pageKb = RunPeakChild(argv[0], "page", page12);

    const double d = Median(djpeg);
    std::printf("median of %d runs\n", runs);
    std::printf("  djpeg, one 12-MP picture           %8.1f ms\n", d);
    std::printf("  djpeg at 1/4, the image view's     %8.1f ms   ratio %.2f (one decode's floor)\n",
                Median(quarter), Median(quarter) / d);
    std::printf("  NEXT after a pause of 1 s          %8.1f ms   ratio %.2f (goal <= 0.25)\n",
                Median(nextPaused), Median(nextPaused) / d);
    std::printf("  NEXT clicked as fast as painted    %8.1f ms   ratio %.2f (goal <= 0.5)\n",
                Median(nextFast), Median(nextFast) / d);
    std::printf("  list pick, decoded on the spot     %8.1f ms   ratio %.2f\n", Median(pick),
                Median(pick) / d);
    std::printf("  djpeg, eight 12-MP pictures        %8.1f ms\n", Median(eight));
    std::printf("  djpeg, eight at 1/8 (the floor)    %8.1f ms   ratio %.2f\n", Median(eighth),
                Median(eighth) / Median(eight));
    std::printf("  thumbnails page of eight 12-MP     %8.1f ms   ratio %.2f (goal <= 0.25)\n",
                Median(page), Median(page) / Median(eight));
    std::printf("  of which painting the page again   %8.1f ms\n", Median(repaint));
    std::printf("  comments of 10,000 lines, repaint  %8.1f ms   (goal <= 20)\n",
                Median(commentsPaint));
    std::printf("  comments of 10,000 lines, one line %8.1f ms   (goal <= 5)\n",
                Median(commentsStep));
    std::printf("  empty SDL window start-up, shown   %8.1f ms\n", Median(empty));
    std::printf(
        "  start-up, 1,000 items, Comments    %8.1f ms   difference %+.1f ms (goal <= +50)\n",
        Median(startup), Median(startup) - Median(empty));
    std::printf("  peak memory, blank SDL window      %8ld KiB\n", blankKb);
    std::printf("  peak memory, 24-MP picture shown   %8ld KiB   extra %.2f x the %.0f KiB bitmap "
                "(goal <= 0.5)\n",
                pictureKb, (pictureKb - blankKb) / bitmapKb, bitmapKb);
    std::printf("  peak memory, thumbnails page of 8  %8ld KiB   extra %.2f x one 12-MP bitmap "
                "(goal <= 1)\n",
                pageKb, (pageKb - blankKb) / (4000.0 * 3000.0 * 3.0 / 1024.0));
    std::filesystem::remove_all(dir);
    return 0;
}
