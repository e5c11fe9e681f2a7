// Measures the data layer: loading an item whose picture is a 12-megapixel JPEG against
// djpeg decoding the same file, and reading the names of a 1,000-item collection.
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
    if (!::mkdtemp(pattern)) return 1;
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
    if (!photoFile.Open((dir + "/photo-viewer").c_str())) return 1;

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
    std::printf("12-megapixel picture (%zu KiB JPEG), median of %d runs:\n", photo.jpeg.size() / 1024, runs);
    std::printf("  djpeg to /dev/null          %8.1f ms\n", Median(djpeg));
    std::printf("  LoadItem (decode + bitmap)  %8.1f ms   ratio %.2f (goal <= 1.25)\n", Median(load),
                Median(load) / Median(djpeg));

    // 2. 1,000 items, each with a small picture, as the start-up list reads them.
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
    if (!manyFile.Open((dir + "/many-viewer").c_str())) return 1;
    auto readNames = [&] {
        CString name;
        for (int i = 0; i < manyFile.GetItemCount(); i++) manyFile.LoadItemName(i, name);
    };
    auto loadItems = [&] {
        for (int i = 0; i < manyFile.GetItemCount(); i++) delete manyFile.LoadItem(i);
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
    std::printf("  names only (LoadItemName)   %8.2f ms   best %.2f ms   (goal < 10 ms)\n", Median(names),
                *std::min_element(names.begin(), names.end()));
    std::printf("  whole items (LoadItem)      %8.2f ms   (each with a 64 x 48 picture)\n", Median(items));

    std::filesystem::remove_all(dir);
    return 0;
}
