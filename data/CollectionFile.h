// The collection appended to the viewer's executable: found through the 8-byte trailer at
// the end of the file (item count, index position), its index read once (a header text and
// the item positions), and any item loaded on demand.
#pragma once

#include <vector>

#include "data/CollectionItem.h"
#include "framework/system/File.h"

class CCollectionFile {
public:
    // 1 when the file opened and its index was read; 0 when it cannot be opened or its
    // trailer holds no items. A damaged index raises CArchiveException.
    int Open(LPCTSTR path);
    CString GetHeader() const { return m_strHeader; }
    int GetItemCount() const { return (int)m_offsets.size(); }
    // A new item that the caller deletes, or null for an index outside the table. A damaged
    // record raises CArchiveException, one that needs more memory than can be had
    // CMemoryException (with a line on stderr); no item is returned then.
    CCollectionItem* LoadItem(int index);
    // Reads only the item's name (the first text of its record): FALSE for an index outside
    // the table. A damaged name raises CArchiveException.
    BOOL LoadItemName(int index, CString& name);

private:
    BOOL SeekToItem(int index);

    CFile m_file;
    CString m_strHeader;
    std::vector<DWORD> m_offsets;
};
