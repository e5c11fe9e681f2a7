// A CSV catalogue as spreadsheets export it: a header row, then one item a row. The columns
// "name", "line1" (or "caption1"), "line2" (or "caption2") and "picture" (or "image", "file")
// fill the item; every other column becomes a detail named by its header, in column order.
// Picture paths are relative to the CSV file; an empty one gives a placeholder. Text is
// UTF-8, or Windows-1252 when the file is not valid UTF-8.
#pragma once

#include <string>

#include "tools/pack/PackCatalogue.h"

class CCsvCatalogue {
public:
    // Throws CPackError naming the file and line at fault.
    static PACK_CATALOGUE Load(const std::string& path);
};
