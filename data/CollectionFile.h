// The collection appended to the viewer's executable: found through the 8-byte trailer at
// the end of the file (item count, index position), its index read once (a header text and
// the item positions), and any item loaded on demand.
#pragma once

#include <memory>
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
    // The same, with the picture decoded at the smallest scale whose output still covers it
    // as drawn inside sizeBox (the client size of the window that shows it); (0, 0): full size.
    CCollectionItem* LoadItem(int index, CSize sizeBox);
    // Loads several items for boxes of one size: the records are read one after the other and
    // their pictures decoded on the machine's cores while this thread waits (a record is read
    // just before its decode, so that only the records being decoded hold their bytes); then
    // each picture gets its bitmap here. `items` gets one item per index, null for an index
    // outside the table. A damaged record raises as LoadItem does, and no item is returned.
    void LoadItems(const std::vector<int>& indices, CSize sizeBox,
                   std::vector<std::unique_ptr<CCollectionItem>>& items);
    // The item's record read now, its picture's decode left to DecodePending (on any thread)
    // and FinishItem: the reading for a picture decoded ahead of being shown, which makes no
    // temporary file before it is. Null for an index outside the table; a damaged record
    // raises as LoadItem does.
    std::unique_ptr<CCollectionItem> ReadItemAhead(int index, CSize sizeBox);
    // After the decode, on the window thread: the item as LoadItem would have returned it (its
    // bitmap attached, or its image list read). A damaged image list raises as LoadItem does.
    void FinishItem(int index, CCollectionItem& item);
    // Reads only the item's name (the first text of its record): FALSE for an index outside
    // the table. A damaged name raises CArchiveException.
    BOOL LoadItemName(int index, CString& name);

private:
    BOOL SeekToItem(int index);
    std::unique_ptr<CCollectionItem> ReadItem(int index, const PICTURE_REQUEST& request);

    CFile m_file;
    CString m_strHeader;
    std::vector<DWORD> m_offsets;
};
