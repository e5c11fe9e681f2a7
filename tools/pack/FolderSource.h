// A folder of pictures: every JPEG and PNG in it becomes an item, in natural order by default
// (IMG_2 before IMG_10), named after its file with underscores and dashes as spaces. Hidden
// files are left out; other picture types and subfolders are left out with a note, subfolders
// taken in with `bRecursive`. An optional collection.json gives the collection's fields
// ("version", "title", "created_by", "date_created", "comments"), per-picture fields under
// "pictures" (keyed by the path within the folder, the item keys of the JSON catalogue), and
// "items_without_picture", a list of items that follow the pictures with a placeholder image.
#pragma once

#include <string>
#include <vector>

#include "tools/pack/PackCatalogue.h"

enum FOLDER_ORDER { ORDER_NATURAL, ORDER_NAME, ORDER_DATE };

struct FOLDER_OPTIONS {
    FOLDER_ORDER order = ORDER_NATURAL;
    bool bRecursive = false;
};

class CFolderSource {
public:
    // Throws CPackError naming the folder or file at fault.
    static PACK_CATALOGUE Load(const std::string& folder,
                               const FOLDER_OPTIONS& options = FOLDER_OPTIONS());
    // The folder's JPEGs and PNGs in `options`' order, as paths within the folder; what was
    // left out, and why, goes to `skipped`.
    static std::vector<std::string> ListPictures(const std::string& folder,
                                                 const FOLDER_OPTIONS& options,
                                                 std::vector<std::string>& skipped);
    // The item name a picture's file gives: without its extension, "_" and "-" as spaces.
    static CString NameFromFile(const std::string& path);
    // Reads FOLDER_ORDER from its name on the command line; FALSE for an unknown name.
    static BOOL ParseOrder(const std::string& name, FOLDER_ORDER& order);
};
