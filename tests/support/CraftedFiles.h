// Hostile inputs made small: JPEG headers that claim huge pictures or repeat a scan many
// times, image lists whose 1-bit strips grow 32 times when decoded, and collections whose
// table points many entries at one such record. Tests use small sizes with a small pixel
// budget; the real viewer runs on the full-size ones.
#pragma once

#include <string>
#include <vector>

#include "tools/writer/CollectionWriter.h"

// A real 16 x 16 baseline JPEG whose frame header claims w x h pixels: the decoder fills the
// missing data and produces the whole claimed picture.
std::vector<BYTE> MakeClaimedSizeJpeg(int w, int h);
// A progressive JPEG claiming w x h pixels in which one scan is repeated until there are
// nScans: each scan is a pass over the whole picture.
std::vector<BYTE> MakeManyScanJpeg(int w, int h, int nScans);
// An image-list stream of nImages images of cx x cy pixels in a 1-bit strip one tile wide.
std::vector<BYTE> MakeOneBitImageListStream(int cx, int cy, int nImages);

enum CRAFTED_KIND {
    CRAFTED_PICTURES,   // nEntries entries on one record with a claimed-size picture
    CRAFTED_IMAGE_LIST, // nEntries entries on one record without picture and a 1-bit list
    CRAFTED_SCANS,      // nEntries entries on one record with a many-scan picture
    CRAFTED_DETAILS,    // one item with nDetails details (name and value each)
};

struct CRAFTED_COLLECTION {
    CRAFTED_KIND kind = CRAFTED_PICTURES;
    int nEntries = 9;
    int w = 16, h = 16; // claimed picture size, or image size of the list
    int nScans = 1;     // many-scan pictures
    int nImages = 1;    // image lists
    int nDetails = 0;
};

// The collection described, ready to be written after an executable (SetPrefixFromFile).
CCollectionWriter MakeCraftedCollection(const CRAFTED_COLLECTION& c);
