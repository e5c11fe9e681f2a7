// A folder of pictures: every JPEG and PNG in it becomes an item in name order, named after
// its file. An optional collection.json gives the collection's fields ("version", "title",
// "created_by", "date_created", "comments"), per-picture fields under "pictures" (keyed by
// file name, the item keys of the JSON catalogue), and "items_without_picture", a list of
// items that follow the pictures with a placeholder image.
#pragma once

#include <string>

#include "tools/pack/PackCatalogue.h"

class CFolderSource {
public:
    // Throws CPackError naming the folder or file at fault.
    static PACK_CATALOGUE Load(const std::string& folder);
};
