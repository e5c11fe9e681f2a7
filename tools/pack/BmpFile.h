// Placeholder images given as .bmp: uncompressed 24- and 32-bit files, rows either way up.
#pragma once

#include <string>

#include "tools/pack/PictureFile.h"

class CBmpFile {
public:
    // Whether the file starts with the BMP signature.
    static BOOL IsBmpFile(const std::string& path);
    // Throws CPackError naming the file for anything else or a damaged file. 32-bit files
    // keep their alpha unless it is zero everywhere; 24-bit files are opaque.
    static RGBA_IMAGE Read(const std::string& path);
};
