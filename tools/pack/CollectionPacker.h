// Writes a viewer executable: a copy of the viewer, then the item records, the index section
// and the trailer that the viewer reads. Every picture and placeholder is checked before the
// output is created; the records are streamed, so memory stays small however large the
// collection, and JPEGs are turned on their compressed blocks, without being decoded, where
// their size allows.
#pragma once

#include <string>
#include <vector>

#include "tools/pack/PackCatalogue.h"
#include "tools/pack/PictureFile.h"
#include "tools/writer/CollectionWriter.h"

// What a build did, for its closing lines.
struct PACK_SUMMARY {
    size_t nPictures = 0;
    size_t nReencoded = 0;             // JPEGs decoded and compressed again to be turned
    std::vector<std::string> warnings; // problems that did not stop a picture, naming the file
};

class CCollectionPacker {
public:
    explicit CCollectionPacker(const PACK_CATALOGUE& catalogue) : m_catalogue(catalogue) {}

    // Throws CPackError naming the file, item or line at fault; `outputPath` is then absent.
    PACK_SUMMARY Pack(const std::string& viewerPath, const std::string& outputPath, bool bProgress);

    // The record of item i as the viewer reads it (the collection's own fields go into the
    // first record); without picture or image list, which the packer appends.
    static ITEM_RECORD MakeRecord(const PACK_CATALOGUE& catalogue, size_t index);

private:
    struct PREPARED_ITEM {
        PACK_PICTURE picture;
        std::vector<BYTE> imageList; // the placeholder's image-list stream, without a picture
    };

    void Prepare(bool bProgress);
    bool HasPicture(size_t index) const;
    bool IsLarge(size_t index) const;
    // Writes the record with its stored picture (empty for an item without one).
    void WriteItem(class COutputFile& out, size_t index, const std::vector<BYTE>& jpeg);

    const PACK_CATALOGUE& m_catalogue;
    std::vector<PREPARED_ITEM> m_prepared;
};
