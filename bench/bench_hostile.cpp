// Measures the viewer on hostile collections (made as the tests make them), on an in-memory
// screen of 1024 x 768:
//   - an item with 200,000 details: shown in the Details view, left for the Comments view,
//     shown again (its 400,000 windows destroyed and made anew) and closed with the program;
//   - a 32 MB record of 1-bit image lists, decoded to 671 MB;
//   - pictures refused for taking too much work: the time from the start of the load to the
//     refusal, for the worst of each kind (many scans over a picture that fits the budget,
//     and 1,000 scans over 1 GiB of pixels whose decoder buffers do not).
//   bench_hostile
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "data/JpegDecoder.h"
#include "framework/backend/headless/HeadlessBackend.h"
#include "framework/system/ModulePath.h"
#include "framework/window/MessageLoop.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"
#include "shell/CommandIds.h"
#include "shell/ViewerDlg.h"
#include "support/CraftedFiles.h"

namespace {

using namespace bench;

std::string Write(const CRAFTED_COLLECTION& c, const std::string& name) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    MakeCraftedCollection(c).WriteFile(path.c_str(), FALSE);
    return path;
}

void MeasureDetails() {
    CRAFTED_COLLECTION c;
    c.kind = CRAFTED_DETAILS;
    c.nEntries = 1;
    c.nDetails = 200000;
    const std::string path = Write(c, "bench-hostile-details");
    CHeadlessBackend screen(1024, 768);
    AfxSetBackend(&screen);
    RegisterProgramResources();
    char* argv[] = {(char*)path.c_str(), nullptr};
    AfxSetArgv(1, argv);
    {
        CViewerDlg dlg;
        dlg.Create(IDD_VIEWER, nullptr);
        dlg.ShowWindow(SW_SHOW);
        AfxPumpUntilIdle();
        auto command = [&](UINT nID) {
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
            AfxPumpUntilIdle();
        };
        command(ID_NEXT); // the thumbnails
        Clock::time_point start = Clock::now();
        command(ID_NEXT); // the item, in the Details view: it has no picture
        const double shown = MillisecondsSince(start);
        start = Clock::now();
        command(ID_NEXT); // back to the Comments view
        const double left = MillisecondsSince(start);
        command(ID_NEXT);
        start = Clock::now();
        command(ID_NEXT); // the details again: the old rows go, new ones come
        const double again = MillisecondsSince(start);
        start = Clock::now();
        dlg.DestroyWindow(); // the program ends with them shown
        const double closed = MillisecondsSince(start);
        std::printf("200,000 details: shown in %.0f ms, left in %.0f ms, shown again in %.0f ms, "
                    "closed in %.0f ms\n",
                    shown, left, again, closed);
    }
    AfxSetBackend(nullptr);
    std::filesystem::remove(path);
}

void MeasureRefusal(const char* what, int size, int nScans) {
    CRAFTED_COLLECTION c;
    c.kind = CRAFTED_SCANS;
    c.nEntries = 1;
    c.w = c.h = size;
    c.nScans = nScans;
    const std::string path = Write(c, "bench-hostile-scans");
    CCollectionFile file;
    file.Open(path.c_str());
    std::vector<double> times;
    bool bRefused = true;
    for (int run = 0; run < 3; run++) {
        const Clock::time_point start = Clock::now();
        std::unique_ptr<CCollectionItem> item(file.LoadItem(0));
        times.push_back(MillisecondsSince(start));
        bRefused = bRefused && item->GetPicture() == nullptr;
    }
    std::printf("%s (%d x %d, %d scans): %s after %.0f ms (median of 3)\n", what, size, size,
                nScans, bRefused ? "refused" : "DECODED", Median(times));
    std::filesystem::remove(path);
}

// The 32 MB record of 1-bit image lists: 671 MB once decoded, charged to the budget.
void MeasureImageList() {
    CRAFTED_COLLECTION c;
    c.kind = CRAFTED_IMAGE_LIST;
    c.nEntries = 1;
    c.w = c.h = 4096;
    c.nImages = 8;
    const std::string path = Write(c, "bench-hostile-imagelist");
    CCollectionFile file;
    file.Open(path.c_str());
    const Clock::time_point start = Clock::now();
    std::unique_ptr<CCollectionItem> item(file.LoadItem(0));
    std::printf(
        "8 images of 4096 x 4096 pixels from a 32 MB 1-bit image list: decoded in %.0f ms\n",
        MillisecondsSince(start));
    std::filesystem::remove(path);
}

} // namespace

int main() {
    MeasureImageList();
    MeasureDetails();
    // 3 x 750 x 750 blocks a scan: the bound is passed at scan 20.
    MeasureRefusal("many scans, picture within the budget", 6000, 1000);
    // 3 x 256 x 256 blocks a scan: refused at the first scan past the bound.
    MeasureRefusal("scans just past the bound", 2048,
                   (int)(CJpegDecoder::MAX_SCAN_BLOCKS / (3 * 256 * 256)) + 1);
    MeasureRefusal("1,000 scans over 1 GiB of pixels", 18900, 1000);
    return 0;
}
