// One catalogued item as the collection stores it: eight texts, named details, and a picture
// or, for an item without one, an image list whose first image stands in for it.
#pragma once

#include "data/ArchiveReader.h"
#include "data/ItemPicture.h"
#include "data/ItemTexts.h"
#include "framework/core/Object.h"
#include "framework/core/StringArray.h"
#include "framework/gdi/ImageList.h"

class CCollectionItem : public CObject, public ITEM_TEXTS {
public:
    CCollectionItem() = default;
    CCollectionItem(const CCollectionItem&) = delete;
    CCollectionItem& operator=(const CCollectionItem&) = delete;
    ~CCollectionItem() override = default;

    // Reads the record at the reader's position: texts, details, picture and, when the
    // picture gave no bitmap, the image list. A picture whose request defers the decode
    // leaves the image list for FinishLoad, so that reading the record reads no more than
    // its texts and bytes.
    virtual void Serialize(CArchiveReader& ar);
    // On the window thread, after the picture's DecodePending: attaches the bitmap and, when
    // the picture gave none, reads the image list that follows it in `file`. A damaged list
    // raises CArchiveException.
    void FinishLoad(CFile& file);

    int GetDetailCount() const { return m_detailNames.GetSize(); }
    // 0 for an index outside the names (both strings unchanged); a name without a value
    // gives an empty value.
    int GetDetail(int index, CString& name, CString& value) const;
    // Replaces `target` with a duplicate of the item's image list; 0 when it has none.
    int CopyImageList(CImageList* target);
    // The picture while it holds a bitmap, else null.
    CItemPicture* GetPicture() { return m_picture.GetSafeHandle() ? &m_picture : nullptr; }
    const CImageList& GetImageList() const { return m_imageList; }

    // The eight texts come from ITEM_TEXTS, before these in record order. Destroyed in
    // reverse, so the picture (and its temporary file) goes first.
    CStringArray m_detailNames;
    CStringArray m_detailValues;
    CImageList m_imageList;
    CItemPicture m_picture;

private:
    ULONGLONG m_nAfterPicture = 0; // where a deferred picture's record ends in the file
    BOOL m_bFinishPending = FALSE;
};
