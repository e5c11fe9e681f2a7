#include "framework/gdi/ImageList.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "framework/gdi/PixelMemory.h"

namespace {

const WORD IMAGELIST_MAGIC = 0x4C49;
const int MAX_IMAGE_SIDE = 4096;
const int MAX_STRIP_SIDE = 65536;
const DWORD MAX_HEADER_GAP = 64 * 1024;

// A decoded list and its charge to the pixel budget, given back when the last list that
// shares it goes.
struct CHARGED_IMAGELIST {
    explicit CHARGED_IMAGELIST(uint64_t nCharged) : nCharged(nCharged) {}
    CHARGED_IMAGELIST(const CHARGED_IMAGELIST&) = delete;
    CHARGED_IMAGELIST& operator=(const CHARGED_IMAGELIST&) = delete;
    ~CHARGED_IMAGELIST() { CPixelBudget::Release(nCharged); }
    IMAGELIST_DATA data;
    const uint64_t nCharged;
};

// What a handle points at. Image lists never change once read, so a duplicate shares the
// pixels of the list it copies instead of holding them again.
struct IMAGELIST_HANDLE {
    std::shared_ptr<const CHARGED_IMAGELIST> pList;
};

IMAGELIST_HANDLE* HandleDataOf(HIMAGELIST himl) {
    return reinterpret_cast<IMAGELIST_HANDLE*>(himl);
}
HIMAGELIST HandleOf(IMAGELIST_HANDLE* p) {
    return reinterpret_cast<HIMAGELIST>(p);
}

WORD Word(const BYTE* p) {
    return (WORD)(p[0] | (p[1] << 8));
}
DWORD Dword(const BYTE* p) {
    return (DWORD)Word(p) | ((DWORD)Word(p + 2) << 16);
}

BOOL ReadExactly(CByteSource* pSource, void* buffer, size_t n) {
    return n <= pSource->GetRemaining() && n <= 0xFFFFFFFFu && pSource->Read(buffer, (UINT)n) == n;
}

// One of the stream's two bitmaps (the image strip or its mask), with its pixels as stored.
struct STRIP_BITMAP {
    int width = 0;
    int height = 0;
    BOOL bTopDown = FALSE;
    int bitsPerPixel = 0;
    int stride = 0;
    RGBQUAD colours[256] = {};
    std::vector<BYTE> bits;

    // Reads "BM", the two headers, the colour table and the rows; FALSE for anything damaged.
    BOOL Read(CByteSource* pSource) {
        BYTE header[14 + 40];
        if (!ReadExactly(pSource, header, sizeof header))
            return FALSE;
        if (header[0] != 'B' || header[1] != 'M')
            return FALSE;
        const DWORD offBits = Dword(header + 10);
        const BYTE* info = header + 14;
        const DWORD infoSize = Dword(info);
        const LONG w = (LONG)Dword(info + 4);
        const LONG h = (LONG)Dword(info + 8);
        bitsPerPixel = Word(info + 14);
        const DWORD compression = Dword(info + 16);
        if (infoSize < 40 || offBits < sizeof header || offBits - sizeof header > MAX_HEADER_GAP)
            return FALSE;
        if (Word(info + 12) != 1 || compression != BI_RGB)
            return FALSE;
        if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
            bitsPerPixel != 24 && bitsPerPixel != 32)
            return FALSE;
        if (w <= 0 || w > MAX_STRIP_SIDE || h == 0 || h < -MAX_STRIP_SIDE || h > MAX_STRIP_SIDE)
            return FALSE;
        width = w;
        height = h < 0 ? -h : h;
        bTopDown = h < 0;

        // Between the info header and the rows: any extra header bytes, then the colour table.
        std::vector<BYTE> gap(offBits - sizeof header);
        if (!ReadExactly(pSource, gap.data(), gap.size()))
            return FALSE;
        const size_t extra = infoSize - 40;
        if (bitsPerPixel <= 8) {
            const size_t nColours = (size_t)1 << bitsPerPixel;
            if (extra > gap.size() || (gap.size() - extra) / 4 < nColours)
                return FALSE;
            std::memcpy(colours, gap.data() + extra, nColours * 4);
        }

        stride = (int)((((ULONGLONG)width * (ULONGLONG)bitsPerPixel + 31) / 32) * 4);
        const ULONGLONG size = (ULONGLONG)stride * (ULONGLONG)height;
        if (size > pSource->GetRemaining())
            return FALSE;
        bits.resize((size_t)size);
        return ReadExactly(pSource, bits.data(), bits.size());
    }

    const BYTE* Row(int y) const {
        return &bits[(size_t)(bTopDown ? y : height - 1 - y) * (size_t)stride];
    }

    int IndexAt(int x, int y) const {
        const BYTE* row = Row(y);
        const int bit = x * bitsPerPixel;
        return (row[bit / 8] >> (8 - bitsPerPixel - bit % 8)) & ((1 << bitsPerPixel) - 1);
    }

    // The pixel at (x, y) counted from the top left, as 0xAARRGGBB.
    DWORD PixelAt(int x, int y) const {
        const BYTE* p;
        switch (bitsPerPixel) {
        case 32:
            p = Row(y) + (size_t)x * 4;
            return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
        case 24:
            p = Row(y) + (size_t)x * 3;
            return 0xFF000000u | (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16);
        case 16: {
            const WORD v = Word(Row(y) + (size_t)x * 2);
            auto expand = [](int c) { return (DWORD)((c << 3) | (c >> 2)); };
            return 0xFF000000u | expand(v & 0x1F) | (expand((v >> 5) & 0x1F) << 8) |
                   (expand((v >> 10) & 0x1F) << 16);
        }
        default: {
            const RGBQUAD& q = colours[IndexAt(x, y)];
            return 0xFF000000u | (DWORD)q.rgbBlue | ((DWORD)q.rgbGreen << 8) |
                   ((DWORD)q.rgbRed << 16);
        }
        }
    }
};

struct STREAM_HEADER {
    WORD version, cCurImage, cMaxImage, cGrow, cx, cy;
    DWORD clrBk;
    WORD flags;
};

BOOL ReadStreamHeader(CByteSource* pSource, STREAM_HEADER& h) {
    BYTE b[28];
    if (!ReadExactly(pSource, b, sizeof b) || Word(b) != IMAGELIST_MAGIC)
        return FALSE;
    h = STREAM_HEADER{Word(b + 2),  Word(b + 4),  Word(b + 6),   Word(b + 8),
                      Word(b + 10), Word(b + 12), Dword(b + 14), Word(b + 18)};
    if (h.version != 0x0101 && h.version != 0x0600 && h.version != 0x0620)
        return FALSE;
    return h.cx > 0 && h.cy > 0 && h.cx <= MAX_IMAGE_SIDE && h.cy <= MAX_IMAGE_SIDE;
}

// Every image's tile lies inside the strip (version 0x0101 strips are four tiles wide, the
// later ones one tile wide).
BOOL TilesFit(const STREAM_HEADER& h, const STRIP_BITMAP& strip, int tilesPerRow) {
    if (h.cCurImage == 0)
        return TRUE;
    const int last = h.cCurImage - 1;
    const ULONGLONG rows = (ULONGLONG)(last / tilesPerRow) + 1;
    const int columns = h.cCurImage < tilesPerRow ? h.cCurImage : tilesPerRow;
    return (ULONGLONG)columns * h.cx <= (ULONGLONG)strip.width &&
           rows * h.cy <= (ULONGLONG)strip.height;
}

// Charges the decoded size of the list (a 1-bit strip grows 32 times) before any of it is
// allocated; null, with a line on stderr, when it would pass the pixel budget.
std::unique_ptr<CHARGED_IMAGELIST> ChargeFor(const STREAM_HEADER& h, BOOL bMask) {
    const uint64_t perPixel = sizeof(DWORD) + (bMask ? 1 : 0);
    const uint64_t bytes = (uint64_t)h.cx * h.cy * h.cCurImage * perPixel + h.cCurImage;
    if (!CPixelBudget::Reserve(bytes)) {
        std::fprintf(stderr,
                     "image list of %d images of %d x %d pixels needs %llu bytes, more than the "
                     "%llu left of the pixel budget\n",
                     h.cCurImage, h.cx, h.cy, (unsigned long long)bytes,
                     (unsigned long long)CPixelBudget::GetAvailable());
        return nullptr;
    }
    return std::make_unique<CHARGED_IMAGELIST>(bytes);
}

std::unique_ptr<CHARGED_IMAGELIST> DecodeStream(CByteSource* pSource) {
    STREAM_HEADER h;
    if (!ReadStreamHeader(pSource, h))
        return nullptr;
    STRIP_BITMAP image, mask;
    if (!image.Read(pSource))
        return nullptr;
    const BOOL bMask = (h.flags & ILC_MASK) != 0;
    if (bMask && (!mask.Read(pSource) || mask.bitsPerPixel != 1))
        return nullptr;
    const int tilesPerRow = h.version == 0x0101 ? 4 : 1;
    if (!TilesFit(h, image, tilesPerRow) || (bMask && !TilesFit(h, mask, tilesPerRow)))
        return nullptr;

    std::unique_ptr<CHARGED_IMAGELIST> charged = ChargeFor(h, bMask);
    if (!charged)
        return nullptr;
    IMAGELIST_DATA* list = &charged->data;
    list->cx = h.cx;
    list->cy = h.cy;
    list->nImages = h.cCurImage;
    list->flags = h.flags;
    list->clrBk = h.clrBk;
    list->bMask = bMask;
    list->bAlpha = image.bitsPerPixel == 32;
    const size_t perImage = (size_t)h.cx * h.cy;
    list->pixels.resize(perImage * h.cCurImage);
    if (bMask)
        list->mask.resize(list->pixels.size());
    list->imageHasAlpha.assign(h.cCurImage, 0);
    for (int i = 0; i < h.cCurImage; i++) {
        const int left = (i % tilesPerRow) * h.cx, top = (i / tilesPerRow) * h.cy;
        size_t at = perImage * (size_t)i;
        for (int y = 0; y < h.cy; y++) {
            for (int x = 0; x < h.cx; x++, at++) {
                list->pixels[at] = image.PixelAt(left + x, top + y);
                if (bMask)
                    list->mask[at] = (BYTE)mask.IndexAt(left + x, top + y);
                if (list->bAlpha && (list->pixels[at] >> 24) != 0)
                    list->imageHasAlpha[(size_t)i] = 1;
            }
        }
    }
    return charged;
}

} // namespace

const IMAGELIST_DATA* ImageList_GetData(HIMAGELIST himl) {
    return himl ? &HandleDataOf(himl)->pList->data : nullptr;
}

CImageList::~CImageList() {
    DeleteImageList();
}

BOOL CImageList::Read(CByteSource* pSource) {
    DeleteImageList();
    if (!pSource)
        return FALSE;
    std::unique_ptr<CHARGED_IMAGELIST> list = DecodeStream(pSource);
    if (!list)
        return FALSE;
    m_hImageList = HandleOf(new IMAGELIST_HANDLE{std::move(list)});
    return TRUE;
}

BOOL CImageList::Create(CImageList* pImageList) {
    if (pImageList == this)
        return m_hImageList != nullptr;
    DeleteImageList();
    if (!pImageList || !pImageList->m_hImageList)
        return FALSE;
    m_hImageList = HandleOf(new IMAGELIST_HANDLE{HandleDataOf(pImageList->m_hImageList)->pList});
    return TRUE;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList)
        return FALSE;
    delete HandleDataOf(m_hImageList);
    m_hImageList = nullptr;
    return TRUE;
}

int CImageList::GetImageCount() const {
    return m_hImageList ? GetData()->nImages : 0;
}

BOOL CImageList::GetImageSize(int* pcx, int* pcy) const {
    const IMAGELIST_DATA* p = GetData();
    if (!p)
        return FALSE;
    if (pcx)
        *pcx = p->cx;
    if (pcy)
        *pcy = p->cy;
    return TRUE;
}
