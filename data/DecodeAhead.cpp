#include "data/DecodeAhead.h"

#include "framework/core/Exception.h"

void CDecodeAhead::Start(CCollectionFile& collection, int nIndex, CSize sizeBox) {
    Drop();
    try {
        m_pItem = collection.ReadItemAhead(nIndex, sizeBox);
    } catch (const CException&) {
        // Damaged: shown as such when the user goes there, not before.
        return;
    }
    if (!m_pItem)
        return;
    m_nIndex = nIndex;
    m_sizeBox = sizeBox;
    // Until Wait, the item is the worker's: this thread reads only what Start wrote above.
    CItemPicture* pPicture = &m_pItem->m_picture;
    if (!m_job.Start([pPicture] { pPicture->DecodePending(); }))
        m_pItem.reset();
}

BOOL CDecodeAhead::Holds(int nIndex, CSize sizeBox) const {
    return m_pItem && m_nIndex == nIndex && m_sizeBox == sizeBox;
}

CCollectionItem* CDecodeAhead::Take(CCollectionFile& collection) {
    m_job.Wait();
    std::unique_ptr<CCollectionItem> pItem = std::move(m_pItem);
    if (!pItem)
        return nullptr;
    if (pItem->m_picture.IsDecodePending() && !pItem->m_picture.IsDecoded())
        return nullptr;
    collection.FinishItem(m_nIndex, *pItem);
    return pItem.release();
}

void CDecodeAhead::Drop() {
    if (m_pItem)
        m_pItem->m_picture.CancelDecode();
    m_job.Wait();
    m_pItem.reset();
}
