// Writes one of the hostile collections appended to a copy of the viewer:
//   make_crafted_collection KIND VIEWER OUTPUT
// KIND: pictures (nine entries on one picture that claims 1 GiB of pixels), imagelist (nine
// entries on one 32 MB record of 1-bit image lists), scans (nine entries on a picture of
// 1 GiB in 1,000 scans), details (one item with 200,000 details), plain (nine entries on one
// ordinary 640 x 480 picture).
#include <cstdio>
#include <cstring>

#include "support/CraftedFiles.h"

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s pictures|imagelist|scans|details|plain VIEWER OUTPUT\n",
                     argv[0]);
        return 2;
    }
    CRAFTED_COLLECTION c;
    // 18900 x 18900 pixels of three bytes: just under 1 GiB, the most one picture may have.
    c.w = c.h = 18900;
    if (std::strcmp(argv[1], "pictures") == 0) {
        c.kind = CRAFTED_PICTURES;
    } else if (std::strcmp(argv[1], "imagelist") == 0) {
        c.kind = CRAFTED_IMAGE_LIST;
        c.w = c.h = 4096;
        c.nImages = 8;
    } else if (std::strcmp(argv[1], "scans") == 0) {
        c.kind = CRAFTED_SCANS;
        c.nScans = 1000;
    } else if (std::strcmp(argv[1], "details") == 0) {
        c.kind = CRAFTED_DETAILS;
        c.nEntries = 1;
        c.nDetails = 200000;
    } else if (std::strcmp(argv[1], "plain") == 0) {
        c.kind = CRAFTED_PICTURES;
        c.w = 640, c.h = 480;
    } else {
        std::fprintf(stderr, "unknown kind %s\n", argv[1]);
        return 2;
    }
    CCollectionWriter writer = MakeCraftedCollection(c);
    if (!writer.SetPrefixFromFile(argv[2]) || !writer.WriteFile(argv[3])) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
