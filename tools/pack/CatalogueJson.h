// The JSON catalogue: the collection's fields and its items, the form `extract` writes and
// `build` reads. Keys: "version", "title", "created_by", "date_created", "comments", "items";
// each item: "name", "line1", "line2", "hidden_text" (kept in the record, never shown; "field2"
// in older catalogues), "details" (a list of {"name", "value"} or of
// [name, value]), "picture" (a path or null), "placeholder" (a PNG or BMP path), and the
// collection's four fields when the item carries its own. Paths are relative to the file.
// An item {"same_as": N} is item N (counted from 1) listed once more.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tools/pack/PackCatalogue.h"

class CCatalogueJson {
public:
    // Throws CPackError naming the file and the item or key at fault.
    static PACK_CATALOGUE Load(const std::string& path);
    static void Save(const PACK_CATALOGUE& catalogue, const std::string& path);
    // The text Save writes; paths are given relative to `baseDir`.
    static std::string Format(const PACK_CATALOGUE& catalogue, const std::string& baseDir);

    // The collection's fields from `json` (the catalogue or a folder's collection.json).
    static void ReadCollectionFields(const nlohmann::json& json, PACK_CATALOGUE& catalogue,
                                     const std::string& where);
    // One item; `baseDir` resolves its paths.
    static PACK_ITEM ReadItem(const nlohmann::json& json, const std::string& baseDir,
                              const std::string& where);
    // Parses a whole file. Throws CPackError with the file and the byte at fault.
    static nlohmann::json ParseFile(const std::string& path);
};
