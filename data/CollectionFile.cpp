#include "data/CollectionFile.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <new>

#include "data/JpegDecoder.h"
#include "framework/system/ParallelJobs.h"

namespace {
const ULONGLONG TRAILER_SIZE = 8;

// Runs one load; memory that cannot be had ends it like a damaged record, with the reason on
// stderr, instead of ending the program.
// `what` names the thing with a %d for `number`.
template <class LOAD>
auto GuardMemory(const char* what, int number, LOAD load) -> decltype(load()) {
    try {
        return load();
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, what, number);
        std::fprintf(stderr, " needs more memory than the program can have\n");
        throw CMemoryException();
    }
}

LONG Int32At(const BYTE* p) {
    return (LONG)((DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24));
}
} // namespace

int CCollectionFile::Open(LPCTSTR path) {
    m_strHeader.Empty();
    m_offsets.clear();
    if (!m_file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return 0;

    const ULONGLONG length = m_file.GetLength();
    BYTE trailer[TRAILER_SIZE] = {};
    LONG nCount = 0;
    if (length >= TRAILER_SIZE &&
        m_file.Seek((int64_t)(length - TRAILER_SIZE), CFile::begin) != (ULONGLONG)-1 &&
        m_file.Read(trailer, sizeof trailer) == sizeof trailer)
        nCount = Int32At(trailer);
    if (nCount <= 0)
        return 0;
    const DWORD indexOffset = (DWORD)Int32At(trailer + 4);

    m_file.Seek(indexOffset, CFile::begin);
    CArchiveReader ar(&m_file);
    try {
        GuardMemory("the index of %d items", (int)nCount, [&] {
            ar >> m_strHeader;
            // The table can hold no more entries than the bytes after the header allow.
            const ULONGLONG fits = ar.GetRemaining() / 4;
            m_offsets.reserve((size_t)((ULONGLONG)nCount < fits ? (ULONGLONG)nCount : fits));
            for (LONG i = 0; i < nCount; i++)
                m_offsets.push_back(ar.ReadDword());
        });
    } catch (const CException&) {
        m_strHeader.Empty();
        m_offsets.clear();
        throw;
    }
    ar.Close();
    return 1;
}

BOOL CCollectionFile::SeekToItem(int index) {
    if (index < 0 || index >= GetItemCount())
        return FALSE;
    m_file.Seek(m_offsets[(size_t)index], CFile::begin);
    return TRUE;
}

std::unique_ptr<CCollectionItem> CCollectionFile::ReadItem(int index,
                                                           const PICTURE_REQUEST& request) {
    CArchiveReader ar(&m_file);
    if (!SeekToItem(index))
        return nullptr;
    // A partly read item goes, with any temporary file it made, when reading fails.
    std::unique_ptr<CCollectionItem> item = GuardMemory("item %d", index + 1, [&] {
        std::unique_ptr<CCollectionItem> loaded(new CCollectionItem());
        loaded->m_picture.SetRequest(request);
        loaded->Serialize(ar);
        return loaded;
    });
    ar.Close();
    return item;
}

CCollectionItem* CCollectionFile::LoadItem(int index) {
    return LoadItem(index, CSize(0, 0));
}

CCollectionItem* CCollectionFile::LoadItem(int index, CSize sizeBox) {
    PICTURE_REQUEST request;
    request.sizeBox = sizeBox;
    // The one picture the user waits for gets the cores.
    request.nDecodeThreads = CJpegDecoder::MAX_STRIPES;
    return ReadItem(index, request).release();
}

void CCollectionFile::LoadItems(const std::vector<int>& indices, CSize sizeBox,
                                std::vector<std::unique_ptr<CCollectionItem>>& items) {
    items.clear();
    PICTURE_REQUEST request;
    request.sizeBox = sizeBox;
    request.bDeferDecode = TRUE;
    std::vector<std::unique_ptr<CCollectionItem>> loaded(indices.size());
    std::vector<std::exception_ptr> failures(indices.size());
    std::mutex fileLock;
    // Each job reads its record (one job at a time: the file has one position) and decodes it,
    // so that only the records being decoded hold their bytes. The decodes touch nothing
    // shared but the pixel budget and the temporary-file list, both safe on any thread; the
    // bitmaps get their handles back here.
    AfxRunParallel((int)indices.size(), [&](int i) {
        const size_t n = (size_t)i;
        try {
            {
                std::lock_guard<std::mutex> lock(fileLock);
                loaded[n] = ReadItem(indices[n], request);
            }
            if (loaded[n])
                loaded[n]->m_picture.DecodePending();
        } catch (...) {
            failures[n] = std::current_exception();
        }
    });
    // The first damaged record raises, as reading them one after the other would have.
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    for (size_t i = 0; i < loaded.size(); i++) {
        if (loaded[i])
            FinishItem(indices[i], *loaded[i]);
    }
    items.swap(loaded);
}

std::unique_ptr<CCollectionItem> CCollectionFile::ReadItemAhead(int index, CSize sizeBox) {
    PICTURE_REQUEST request;
    request.sizeBox = sizeBox;
    request.bDeferDecode = TRUE;
    request.bAhead = TRUE;
    // Decoded while the window thread is idle, the picture the user goes to next.
    request.nDecodeThreads = CJpegDecoder::MAX_STRIPES;
    return ReadItem(index, request);
}

void CCollectionFile::FinishItem(int index, CCollectionItem& item) {
    GuardMemory("item %d", index + 1, [&] { item.FinishLoad(m_file); });
}

BOOL CCollectionFile::LoadItemName(int index, CString& name) {
    CArchiveReader ar(&m_file);
    if (!SeekToItem(index))
        return FALSE;
    GuardMemory("the name of item %d", index + 1, [&] { ar >> name; });
    ar.Close();
    return TRUE;
}
