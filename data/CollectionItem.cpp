#include "data/CollectionItem.h"

#include <new>

void CCollectionItem::Serialize(CArchiveReader& ar) {
    for (const ITEM_TEXT_FIELD& field : ITEM_TEXT_FIELDS)
        ar >> this->*field.pText;
    ar.ReadStringArray(m_detailNames);
    ar.ReadStringArray(m_detailValues);
    m_picture.Serialize(ar);
    if (m_picture.IsDecodeDeferred()) {
        m_nAfterPicture = ar.GetPosition();
        m_bFinishPending = TRUE;
        return;
    }
    // The bitmap decides, not the presence flag: a picture that did not decode is followed
    // by an attempt at the image list.
    if (!m_picture.GetSafeHandle())
        m_imageList.Read(&ar);
}

void CCollectionItem::FinishLoad(CFile& file) {
    if (!m_bFinishPending)
        return;
    m_bFinishPending = FALSE;
    m_picture.FinishDecode();
    if (m_picture.GetSafeHandle())
        return;
    file.Seek((int64_t)m_nAfterPicture, CFile::begin);
    CArchiveReader ar(&file);
    m_imageList.Read(&ar);
    ar.Close();
}

int CCollectionItem::GetDetail(int index, CString& name, CString& value) const {
    if (index < 0 || index >= m_detailNames.GetSize())
        return 0;
    name = m_detailNames[index];
    value = index < m_detailValues.GetSize() ? m_detailValues[index] : CString();
    return 1;
}

int CCollectionItem::CopyImageList(CImageList* target) {
    if (!target)
        return 0;
    target->DeleteImageList();
    try {
        return target->Create(&m_imageList);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
