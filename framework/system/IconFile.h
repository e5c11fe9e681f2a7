// Reads the platform's icon (.ico) and cursor (.cur) files: 1-bit monochrome images with their
// AND mask, and 4-, 8-, 24- and 32-bit colour images, into a straight-alpha image with the
// cursor's hot spot. A damaged file is refused: nothing is read outside it and nothing is
// allocated beyond what its images can hold.
#pragma once

#include <cstddef>

#include "framework/backend/Backend.h"

class CIconFile {
public:
    // The largest image a file may hold, as the format's one-byte sizes allow.
    static const int MAX_SIZE = 256;

    // Decodes the file's image whose size is nearest to preferredSize (of those, the deepest).
    // FALSE for a file that is not an icon or cursor, or whose chosen image is damaged; the
    // image is then left empty.
    static BOOL Decode(const void* data, size_t size, BackendImage& image, int preferredSize = 32);
};
