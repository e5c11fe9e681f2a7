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
    size_t nItems = 0;
    size_t nPictures = 0;
    size_t nReencoded = 0;             // JPEGs decoded and compressed again to be turned
    std::vector<std::string> warnings; // problems that did not stop a picture, naming the file
    std::vector<std::string> skipped;  // pictures left out, each naming the file and why
    ULONGLONG nBytes = 0;              // the output file's size
    size_t nResized = 0;               // pictures made to fit the largest size asked for
    long long nBytesSaved = 0;         // by those, against their files
    PICTURE_OPTIONS options;           // what the pictures were stored with
};

class CCollectionPacker {
public:
    // `bSkipBroken`: a picture that cannot be stored is left out with its item, and the build
    // goes on; otherwise it ends the build.
    explicit CCollectionPacker(const PACK_CATALOGUE& catalogue, bool bSkipBroken = false,
                               const PICTURE_OPTIONS& options = PICTURE_OPTIONS())
        : m_catalogue(catalogue), m_bSkipBroken(bSkipBroken), m_options(options) {}

    // Throws CPackError naming the file, item or line at fault; `outputPath` is then absent.
    PACK_SUMMARY Pack(const std::string& viewerPath, const std::string& outputPath, bool bProgress);

    // The record of item i as the viewer reads it (the collection's own fields go into the
    // first record); without picture or image list, which the packer appends.
    static ITEM_RECORD MakeRecord(const PACK_CATALOGUE& catalogue, size_t index);

private:
    struct PREPARED_ITEM {
        PACK_PICTURE picture;
        std::vector<BYTE> imageList; // the placeholder's image-list stream, without a picture
        bool bSkipped = false;
    };

    void Prepare(bool bProgress);
    // Leaves item `index` out for `e` when that is allowed; FALSE when the build must end.
    bool Skip(size_t index, const CPackError& e);
    bool HasPicture(size_t index) const;
    bool IsLarge(size_t index) const;
    // Writes the record with its stored picture (empty for an item without one).
    void WriteItem(class COutputFile& out, size_t index, const std::vector<BYTE>& jpeg);

    const PACK_CATALOGUE& m_catalogue;
    const bool m_bSkipBroken;
    const PICTURE_OPTIONS m_options;
    std::vector<PREPARED_ITEM> m_prepared;
    std::vector<std::string> m_skipped;
};
