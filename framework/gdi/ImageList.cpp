#include "framework/gdi/ImageList.h"

namespace {
IMAGELIST_DATA* DataOf(HIMAGELIST himl) { return reinterpret_cast<IMAGELIST_DATA*>(himl); }
HIMAGELIST HandleOf(IMAGELIST_DATA* p) { return reinterpret_cast<HIMAGELIST>(p); }
} // namespace

const IMAGELIST_DATA* ImageList_GetData(HIMAGELIST himl) { return DataOf(himl); }

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Read(CByteSource* pSource) {
    DeleteImageList();
    (void)pSource;
    return FALSE;
}

BOOL CImageList::Create(CImageList* pImageList) {
    DeleteImageList();
    if (!pImageList || !pImageList->m_hImageList) return FALSE;
    m_hImageList = HandleOf(new IMAGELIST_DATA(*DataOf(pImageList->m_hImageList)));
    return TRUE;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    delete DataOf(m_hImageList);
    m_hImageList = nullptr;
    return TRUE;
}

int CImageList::GetImageCount() const { return m_hImageList ? DataOf(m_hImageList)->nImages : 0; }

BOOL CImageList::GetImageSize(int* pcx, int* pcy) const {
    const IMAGELIST_DATA* p = DataOf(m_hImageList);
    if (!p) return FALSE;
    if (pcx) *pcx = p->cx;
    if (pcy) *pcy = p->cy;
    return TRUE;
}
