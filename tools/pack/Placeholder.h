// The placeholder image an item without a picture carries: an image list of one image, the
// built-in icon or a PNG or BMP the catalogue names.
#pragma once

#include <string>

#include "framework/gdi/ImageList.h"
#include "tools/pack/PictureFile.h"

class CPlaceholder {
public:
    // Largest placeholder side: the thumbnail cells show it at its own size.
    static const int MAX_SIDE = 256;

    // The program's own 32 x 32 icon.
    static IMAGELIST_DATA BuiltIn();
    // A PNG or BMP file. Throws CPackError naming the file.
    static IMAGELIST_DATA FromFile(const std::string& path);
    // Pixels that are either opaque or clear become a 24-bit list with a mask; any partial
    // transparency keeps its alpha in a 32-bit list. Clear pixels are stored black.
    static IMAGELIST_DATA FromImage(const RGBA_IMAGE& image);
    // Whether the list holds an image 0 to show; a list read from a file may hold none.
    static BOOL HasImage(const IMAGELIST_DATA& list);
    // Image 0 of a list as RGBA (clear pixels have alpha 0), for writing it back out; an
    // empty image for a list without one.
    static RGBA_IMAGE ToImage(const IMAGELIST_DATA& list);
};
