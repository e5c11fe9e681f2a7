// Builds a viewer executable: a copy of a given executable (or nothing, for tests) followed by
// the item records, the index section (header and item positions) and the 8-byte trailer.
#pragma once

#include <vector>

#include "data/ItemTexts.h"
#include "tools/writer/StreamWriter.h"

// One item record as the viewer reads it. A picture, when present, is written as given; the
// image list (placeholder image) follows it only when `bImageList` is set, or as raw bytes
// when `imageListStream` is not empty.
struct ITEM_RECORD : ITEM_TEXTS {
    CStringArray detailNames;
    CStringArray detailValues;
    BOOL bPicture = FALSE;
    std::vector<BYTE> jpeg;
    BOOL bImageList = FALSE;
    IMAGELIST_DATA imageList;
    std::vector<BYTE> imageListStream;
    STRING_FORM stringForm = STRING_AUTO;
};

class CCollectionWriter {
public:
    // The bytes the collection is appended to.
    void SetPrefix(const std::vector<BYTE>& bytes) { m_prefix = bytes; }
    BOOL SetPrefixFromFile(const CString& path);
    void SetHeader(const CString& header, STRING_FORM form = STRING_AUTO);

    // Appends a record and a table entry for it; returns the new item index.
    int AddItem(const ITEM_RECORD& item);
    // Appends arbitrary record bytes (a damaged record, for instance) with a table entry.
    int AddRecordBytes(const std::vector<BYTE>& record);
    // A further table entry pointing at the record of an existing index.
    int AddEntryFor(int index);
    // A table entry with an arbitrary position (for damaged containers).
    int AddEntryAt(DWORD position);

    // Places the index section before the records instead of after them.
    void SetIndexFirst(BOOL bIndexFirst) { m_bIndexFirst = bIndexFirst; }
    // Overrides the trailer's item count (for damaged containers); the table keeps its entries.
    void SetTrailerCount(LONG nCount) { m_bCountOverride = TRUE, m_nTrailerCount = nCount; }

    int GetItemCount() const { return (int)m_entries.size(); }
    std::vector<BYTE> Build() const;
    // Writes Build() to `path`; the file is made executable when `bExecutable`.
    BOOL WriteFile(const CString& path, BOOL bExecutable = TRUE) const;

    static std::vector<BYTE> EncodeItem(const ITEM_RECORD& item);

private:
    struct ENTRY {
        int nRecord;      // index into m_records, or -1 for a fixed position
        DWORD dwPosition; // used when nRecord is -1
    };

    std::vector<BYTE> m_prefix;
    std::vector<BYTE> m_header = std::vector<BYTE>(1, 0);
    std::vector<std::vector<BYTE>> m_records;
    std::vector<ENTRY> m_entries;
    BOOL m_bIndexFirst = FALSE;
    BOOL m_bCountOverride = FALSE;
    LONG m_nTrailerCount = 0;
};
