#include "data/ItemPicture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "data/JpegDecoder.h"
#include "framework/gdi/DC.h"
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
BYTE* CreateDIBRows(void* pContext, int nWidth, int nHeight, int /*nStride*/) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    try {
        HDC hdc = CreateCompatibleDC(nullptr);
        void* pBits = nullptr;
        HBITMAP hBitmap = CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
        if (hdc) DeleteDC(hdc);
        if (hBitmap && !pBits) ::DeleteObject((HGDIOBJ)hBitmap), hBitmap = nullptr;
        *static_cast<HBITMAP*>(pContext) = hBitmap;
        return static_cast<BYTE*>(pBits);
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
void ShowTempWriteFailure(const CFileException& e) {
    CString text;
    text.Format("The picture's temporary file %s could not be written: %s.",
                e.m_strFileName.GetString(), std::strerror((int)e.m_lOsError));
    std::fprintf(stderr, "%s\n", text.GetString());
    AfxShowMessageOncePerAction(text);
}

} // namespace

void CItemPicture::SetMaxPixelBytes(ULONGLONG nBytes) { g_nMaxPixelBytes = nBytes; }
ULONGLONG CItemPicture::GetMaxPixelBytes() { return g_nMaxPixelBytes; }

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
    if (ar.ReadDword() == 0) return;
    const DWORD n = ar.ReadDword();
    if (n > ar.GetRemaining()) throw CArchiveException(CArchiveException::endOfFile);
    std::vector<BYTE> bytes(n);
    if (ar.Read(bytes.data(), n) != n) throw CArchiveException(CArchiveException::endOfFile);
    Decode(bytes.data(), n);
}

BOOL CItemPicture::MakeTempFile(CString& path) {
    char dir[MAX_PATH], name[MAX_PATH];
    if (GetTempPathA(MAX_PATH, dir) == 0 || GetTempFileNameA(dir, "emE", 0, name) == 0) {
        ShowTempPathFailure();
        return FALSE;
    }
    path = name;
    // Recorded before anything can fail, so that the file goes with the picture on every path.
    m_tempFiles.Add(path);
    return TRUE;
}

void CItemPicture::Decode(const BYTE* bytes, DWORD n) {
    CString path;
    if (!MakeTempFile(path)) return;
    try {
        CFile file;
        if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
            throw CFileException(CFileException::genericException, errno, path);
        file.Write(bytes, n);
    } catch (const CFileException& e) {
        // The picture is left without a bitmap, as when no file could be made at all.
        ShowTempWriteFailure(e);
        return;
    }

    FILE* fp = std::fopen(path, "rb");
    if (!fp) {
        std::fprintf(stderr, "can't open %s\n", path.GetString());
        return;
    }
    HBITMAP hBitmap = nullptr;
    const BOOL bDecoded = CJpegDecoder::Decode(fp, g_nMaxPixelBytes, CreateDIBRows, &hBitmap);
    std::fclose(fp);
    if (bDecoded) Attach((HGDIOBJ)hBitmap);
    else if (hBitmap) ::DeleteObject((HGDIOBJ)hBitmap);
}
