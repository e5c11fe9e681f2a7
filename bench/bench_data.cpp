// Measures the data layer: loading an item whose picture is a 12-megapixel JPEG against
// djpeg decoding the same file, at full size and reduced for a thumbnail cell and for the image
// area; a page of eight such items loaded in parallel against eight djpeg decodes; and reading
// the names of a 1,000-item collection.
//   bench_data [runs]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/BenchSupport.h"
#include "data/CollectionFile.h"
#include "framework/system/ParallelJobs.h"
#include "tools/writer/CollectionWriter.h"

namespace {

using namespace bench;

ITEM_RECORD MakeItem(int i) {
    ITEM_RECORD item;
    item.m_strName = ("Item number " + std::to_string(i)).c_str();
    item.m_strLine1 = "Line one";
    item.m_strLine2 = "Line two";
    item.m_strComments = CString(std::string(300, 'c'));
    item.m_strCollectionTitle = "Benchmark collection";
    for (const char* name : {"Country", "Year", "Material", "Grade"}) {
        item.detailNames.Add(name);
        item.detailValues.Add("Some value");
    }
    return item;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    char pattern[] = "/tmp/bench-data-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const std::string dir = pattern;
    ::setenv("TMPDIR", dir.c_str(), 1);

    // 1. One item with a 4000 x 3000 picture.
    ITEM_RECORD photo = MakeItem(0);
    photo.bPicture = TRUE;
    photo.jpeg = MakePhoto(4000, 3000);
    {
        FILE* f = std::fopen((dir + "/photo.jpg").c_str(), "wb");
        std::fwrite(photo.jpeg.data(), 1, photo.jpeg.size(), f);
        std::fclose(f);
    }
    CCollectionWriter single;
    single.AddItem(photo);
    single.WriteFile((dir + "/photo-viewer").c_str());
    CCollectionFile photoFile;
    if (!photoFile.Open((dir + "/photo-viewer").c_str()))
        return 1;

    std::vector<double> djpeg, load;
    TimeDjpeg(dir + "/photo.jpg");
    delete photoFile.LoadItem(0);
    for (int r = 0; r < runs; r++) {
        djpeg.push_back(TimeDjpeg(dir + "/photo.jpg"));
        const Clock::time_point start = Clock::now();
        std::unique_ptr<CCollectionItem> item(photoFile.LoadItem(0));
        load.push_back(MillisecondsSince(start));
        if (!item || !item->GetPicture()) {
            std::fprintf(stderr, "bench_data: the picture did not decode\n");
            return 1;
        }
    }
    std::printf("12-megapixel picture (%zu KiB JPEG), median of %d runs:\n",
                photo.jpeg.size() / 1024, runs);
    std::printf("  djpeg to /dev/null          %8.1f ms\n", Median(djpeg));
    std::printf("  LoadItem (decode + bitmap)  %8.1f ms   ratio %.2f (goal <= 1.25)\n",
                Median(load), Median(load) / Median(djpeg));

    // 2. Reduced decodes for the boxes the windows draw in, and a thumbnails page of eight.
    CCollectionWriter page;
    for (int i = 0; i < 8; i++)
        page.AddItem(photo);
    page.WriteFile((dir + "/page-viewer").c_str());
    CCollectionFile pageFile;
    if (!pageFile.Open((dir + "/page-viewer").c_str()))
        return 1;
    const CSize cell(160, 200), area(800, 475);
    std::vector<double> djpeg1, djpegEighth, cellLoad, areaLoad, djpeg8, pageLoad;
    const std::vector<int> eight = {0, 1, 2, 3, 4, 5, 6, 7};
    for (int r = 0; r < runs; r++) {
        djpeg1.push_back(TimeDjpeg(dir + "/photo.jpg"));
        djpegEighth.push_back(TimeDjpeg(dir + "/photo.jpg", "1/8"));
        Clock::time_point start = Clock::now();
        delete pageFile.LoadItem(0, cell);
        cellLoad.push_back(MillisecondsSince(start));
        start = Clock::now();
        delete pageFile.LoadItem(0, area);
        areaLoad.push_back(MillisecondsSince(start));
        start = Clock::now();
        for (int i = 0; i < 8; i++)
            TimeDjpeg(dir + "/photo.jpg");
        djpeg8.push_back(MillisecondsSince(start));
        start = Clock::now();
        std::vector<std::unique_ptr<CCollectionItem>> items;
        pageFile.LoadItems(eight, cell, items);
        pageLoad.push_back(MillisecondsSince(start));
        if (items.size() != 8 || !items[7] || !items[7]->GetPicture()) {
            std::fprintf(stderr, "bench_data: the page did not decode\n");
            return 1;
        }
    }
    std::printf("Reduced decodes of the 12-megapixel picture, median of %d runs:\n", runs);
    std::printf("  djpeg to /dev/null          %8.1f ms\n", Median(djpeg1));
    std::printf(
        "  djpeg -scale 1/8            %8.1f ms   ratio %.2f (the library's own floor: every\n"
        "                                                 coefficient is still read)\n",
        Median(djpegEighth), Median(djpegEighth) / Median(djpeg1));
    std::printf("  LoadItem for a 160 x 200 cell   %8.1f ms   ratio %.2f\n", Median(cellLoad),
                Median(cellLoad) / Median(djpeg1));
    std::printf("  LoadItem for the 800 x 475 area %8.1f ms   ratio %.2f\n", Median(areaLoad),
                Median(areaLoad) / Median(djpeg1));
    std::printf("  eight djpeg decodes         %8.1f ms\n", Median(djpeg8));
    std::printf("  LoadItems, eight for cells  %8.1f ms   ratio %.2f (goal <= 0.25; %d threads)\n",
                Median(pageLoad), Median(pageLoad) / Median(djpeg8), AfxGetParallelThreads());

    // 3. 1,000 items, each with a small picture, as the start-up list reads them.
    CCollectionWriter many;
    ITEM_RECORD small = MakeItem(0);
    small.bPicture = TRUE;
    small.jpeg = MakePhoto(64, 48);
    for (int i = 0; i < 1000; i++) {
        ITEM_RECORD item = small;
        item.m_strName = ("Item number " + std::to_string(i)).c_str();
        many.AddItem(item);
    }
    many.WriteFile((dir + "/many-viewer").c_str());
    CCollectionFile manyFile;
    if (!manyFile.Open((dir + "/many-viewer").c_str()))
        return 1;
    auto readNames = [&] {
        CString name;
        for (int i = 0; i < manyFile.GetItemCount(); i++)
            manyFile.LoadItemName(i, name);
    };
    auto loadItems = [&] {
        for (int i = 0; i < manyFile.GetItemCount(); i++)
            delete manyFile.LoadItem(i);
    };
    std::vector<double> names, items;
    readNames();
    for (int r = 0; r < runs; r++) {
        Clock::time_point start = Clock::now();
        readNames();
        names.push_back(MillisecondsSince(start));
        start = Clock::now();
        loadItems();
        items.push_back(MillisecondsSince(start));
    }
    std::printf("1,000-item collection, warm, median of %d runs:\n", runs);
    std::printf("  names only (LoadItemName)   %8.2f ms   best %.2f ms   (goal < 10 ms)\n",
                Median(names), *std::min_element(names.begin(), names.end()));
    std::printf("  whole items (LoadItem)      %8.2f ms   (each with a 64 x 48 picture)\n",
                Median(items));

    std::filesystem::remove_all(dir);
    return 0;
}
