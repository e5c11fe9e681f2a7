#include "data/ItemPicture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "data/JpegDecoder.h"
#include "framework/gdi/DeviceScale.h"
#include "framework/gdi/GdiObjectData.h"
#include "framework/gdi/PixelPages.h"
#include "framework/system/MessageSink.h"
#include "framework/system/TempFile.h"

namespace {

const UINT IDS_TEMP_PATH_FAILED = 5;
const ULONGLONG ONE_GIB = 1ULL << 30;

ULONGLONG DefaultMaxPixelBytes() {
    const ULONGLONG nPhysical = AfxGetPhysicalMemory();
    const ULONGLONG memory = nPhysical > 0 ? nPhysical : ONE_GIB;
    return memory < ONE_GIB ? memory : ONE_GIB;
}

ULONGLONG g_nMaxPixelBytes = DefaultMaxPixelBytes();

// Creates the picture's DIB section once its size is known, so that the decoder writes the
// rows straight into the bitmap: no second copy of a picture that may be tens of megabytes.
// The bitmap gets its handle later, on the window thread: the handle table is that thread's.
BYTE* CreateDIBRows(void* pContext, int nWidth, int nHeight, int /*nStride*/) {
    try {
        std::unique_ptr<CBitmapData> p = CBitmapData::Create(nWidth, nHeight, 24, true, 4);
        if (!p)
            return nullptr;
        p->m_bDIBSection = true;
        BYTE* pBits = p->Bits();
        *static_cast<std::unique_ptr<CBitmapData>*>(pContext) = std::move(p);
        return pBits;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Every picture of a user action meets the same missing directory: told once per action.
void ShowTempPathFailure() {
    CString text;
    text.LoadString(IDS_TEMP_PATH_FAILED);
    AfxShowMessageOncePerAction(text);
}

// A full disk (or a file size limit) is not a damaged record: say what failed, and why.
void ShowTempWriteFailure(const CString& path, int nErrno) {
    CString text;
    text.Format("The picture's temporary file %s could not be written: %s.", path.GetString(),
                std::strerror(nErrno));
    std::fprintf(stderr, "%s\n", text.GetString());
    AfxShowMessageOncePerAction(text);
}

} // namespace

void CItemPicture::SetMaxPixelBytes(ULONGLONG nBytes) {
    g_nMaxPixelBytes = nBytes;
}
ULONGLONG CItemPicture::GetMaxPixelBytes() {
    return g_nMaxPixelBytes;
}

CItemPicture::CItemPicture() = default;

CItemPicture::~CItemPicture() {
    for (int i = 0; i < m_tempFiles.GetSize(); i++) {
        try {
            CFile::Remove(m_tempFiles[i]);
        } catch (const CFileException&) {
            // A file that cannot go stays behind; the others are still removed.
        }
    }
    m_tempFiles.RemoveAll();
    DeleteObject();
}

void CItemPicture::Serialize(CArchiveReader& ar) {
    if (ar.ReadDword() == 0)
        return;
    const DWORD n = ar.ReadDword();
    if (n > ar.GetRemaining())
        throw CArchiveException(CArchiveException::endOfFile);
    std::vector<BYTE> bytes(n);
    if (ar.Read(bytes.data(), n) != n)
        throw CArchiveException(CArchiveException::endOfFile);
    if (m_request.bDeferDecode) {
        m_pendingBytes.swap(bytes);
        m_bPending = TRUE;
        return;
    }
    Decode(bytes.data(), n);
}

BOOL CItemPicture::MakeTempFile(CString& path) {
    char dir[MAX_PATH], name[MAX_PATH];
    if (GetTempPathA(MAX_PATH, dir) == 0 || GetTempFileNameA(dir, "emE", 0, name) == 0) {
        m_failure = FAILED_TEMP_PATH;
        return FALSE;
    }
    path = name;
    // Recorded before anything can fail, so that the file goes with the picture on every path.
    m_tempFiles.Add(path);
    return TRUE;
}

void CItemPicture::Decode(const BYTE* bytes, DWORD n) {
    CString path;
    if (WriteTempFile(bytes, n, path))
        DecodeFile(path);
    m_bPending = TRUE;
    FinishDecode();
}

void CItemPicture::DecodePending() {
    if (!m_bPending)
        return;
    if (m_request.bAhead) {
        // The bytes stay for the temporary file the picture gets when it is shown.
        DecodeRows(nullptr, m_pendingBytes.data(), m_pendingBytes.size());
        return;
    }
    CString path;
    const BOOL bWritten = WriteTempFile(m_pendingBytes.data(), (DWORD)m_pendingBytes.size(), path);
    // The file holds them now: several pictures decoding at once hold no copy of their bytes.
    std::vector<BYTE>().swap(m_pendingBytes);
    if (bWritten)
        DecodeFile(path);
}

void CItemPicture::FinishDecode() {
    if (!m_bPending)
        return;
    m_bPending = FALSE;
    if (m_request.bAhead) {
        CString path;
        if (!WriteTempFile(m_pendingBytes.data(), (DWORD)m_pendingBytes.size(), path)) {
            // Decoded now, it would have stopped here.
            m_pDecoded.reset();
            m_strMessages.clear();
        }
        std::vector<BYTE>().swap(m_pendingBytes);
    }
    std::fputs(m_strMessages.c_str(), stderr);
    m_strMessages.clear();
    if (m_failure == FAILED_TEMP_PATH)
        ShowTempPathFailure();
    else if (m_failure == FAILED_TEMP_WRITE)
        ShowTempWriteFailure(m_strFailedPath, m_nFailedErrno);
    m_failure = FAILED_NOTHING;
    if (m_pDecoded)
        Attach(AfxAddGdiObject(std::move(m_pDecoded)));
}

BOOL CItemPicture::WriteTempFile(const BYTE* bytes, DWORD n, CString& path) {
    if (!MakeTempFile(path))
        return FALSE;
    try {
        CFile file;
        if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
            throw CFileException(CFileException::genericException, errno, path);
        file.Write(bytes, n);
    } catch (const CFileException& e) {
        // The picture is left without a bitmap, as when no file could be made at all.
        m_failure = FAILED_TEMP_WRITE;
        m_strFailedPath = e.m_strFileName;
        m_nFailedErrno = (int)e.m_lOsError;
        return FALSE;
    }
    return TRUE;
}

void CItemPicture::DecodeFile(const CString& path) {
    FILE* fp = std::fopen(path, "rb");
    if (!fp) {
        std::fprintf(stderr, "can't open %s\n", path.GetString());
        return;
    }
    DecodeRows(fp, nullptr, 0);
    std::fclose(fp);
}

void CItemPicture::DecodeRows(FILE* fp, const BYTE* bytes, size_t n) {
    JPEG_DECODE_REQUEST request;
    // The box is the window's, in layout pixels; the picture lands on the screen's pixels.
    const CDeviceScale& scale = AfxGetScreenScale();
    request.nBoxWidth = scale.ScaleLength(m_request.sizeBox.cx);
    request.nBoxHeight = scale.ScaleLength(m_request.sizeBox.cy);
    request.pCancel = &m_bCancel;
    request.nMaxThreads = m_request.nDecodeThreads;
    request.pMessages = &m_strMessages;
    std::unique_ptr<CBitmapData> decoded;
    const BOOL bDecoded =
        fp != nullptr
            ? CJpegDecoder::Decode(fp, g_nMaxPixelBytes, CreateDIBRows, &decoded, &request)
            : CJpegDecoder::DecodeBytes(bytes, n, g_nMaxPixelBytes, CreateDIBRows, &decoded,
                                        &request);
    m_sizeFull = CSize(request.nFullWidth, request.nFullHeight);
    if (bDecoded)
        m_pDecoded = std::move(decoded);
}
