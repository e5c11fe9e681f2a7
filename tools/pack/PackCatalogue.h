// What slideshow-pack turns into a collection, whatever form it was given in: the collection's
// own fields and the items in order, with their texts, details and picture or placeholder.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "data/ItemTexts.h"

struct PACK_ITEM : ITEM_TEXTS {
    std::vector<std::pair<CString, CString>> details;
    std::string picturePath;     // JPEG or PNG; empty for an item without a picture
    std::string placeholderPath; // PNG or BMP for an item without a picture; empty: built-in
    CString strOrigin;           // where the item came from, for messages ("photos.csv line 4")
    // The earlier item whose record this one shares (its index), or -1. A collection may list
    // one record many times; it is then read and written once.
    int nSameAs = -1;
};

struct PACK_CATALOGUE {
    CString strHeader = "1.0"; // the version text the About box shows
    CString strTitle;
    CString strCreatedBy;
    CString strDateCreated;
    CString strComments;
    std::vector<PACK_ITEM> items;
    // Entries of a source folder that look like pictures but were left out, with the reason.
    std::vector<std::string> skipped;
};

// A failure that ends the command; the text names the file and the line or item at fault.
class CPackError : public std::runtime_error {
public:
    explicit CPackError(const std::string& message) : std::runtime_error(message) {}
};
