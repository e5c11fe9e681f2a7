#include "tools/writer/StreamWriter.h"

#include "framework/core/TextEncoding.h"

namespace {

const WORD IMAGELIST_MAGIC = 0x4C49;
const WORD IMAGELIST_VERSION = 0x0101;
const int TILES_PER_ROW = 4;

int StrideOf(int width, int bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

} // namespace

void CStreamWriter::WriteByte(BYTE b) {
    m_bytes.push_back(b);
}

void CStreamWriter::WriteWord(WORD w) {
    WriteByte((BYTE)(w & 0xFF));
    WriteByte((BYTE)(w >> 8));
}

void CStreamWriter::WriteDword(DWORD d) {
    WriteWord((WORD)(d & 0xFFFF));
    WriteWord((WORD)(d >> 16));
}

void CStreamWriter::WriteCount(DWORD n) {
    if (n < 0xFFFF) {
        WriteWord((WORD)n);
    } else {
        WriteWord(0xFFFF);
        WriteDword(n);
    }
}

void CStreamWriter::WriteLengthPrefix(DWORD nChars, PREFIX_FORM prefix) {
    if (prefix == PREFIX_SHORTEST && nChars < 0xFF) {
        WriteByte((BYTE)nChars);
    } else if (prefix != PREFIX_DWORD && nChars < 0xFFFE) {
        WriteByte(0xFF);
        WriteWord((WORD)nChars);
    } else {
        WriteByte(0xFF);
        WriteWord(0xFFFF);
        WriteDword(nChars);
    }
}

void CStreamWriter::WriteString(const CString& text, STRING_FORM form, PREFIX_FORM prefix) {
    std::string ansi;
    const BOOL bAnsiFits = Utf8ToAnsi(text, ansi);
    if (form == STRING_UTF16 || (form == STRING_AUTO && !bAnsiFits)) {
        const std::u16string units = Utf8ToUtf16(text);
        WriteByte(0xFF);
        WriteWord(0xFFFE);
        WriteLengthPrefix((DWORD)units.size(), prefix);
        for (char16_t u : units)
            WriteWord((WORD)u);
        return;
    }
    if (!bAnsiFits) {
        ansi.clear();
        for (char16_t u : Utf8ToUtf16(text)) {
            const BYTE unit[2] = {(BYTE)(u & 0xFF), (BYTE)(u >> 8)};
            std::string one;
            ansi += Utf8ToAnsi(Utf16LeToUtf8(unit, 1), one) ? one : std::string("?");
        }
    }
    WriteLengthPrefix((DWORD)ansi.size(), prefix);
    WriteBytes(ansi.data(), ansi.size());
}

void CStreamWriter::WriteStringArray(const CStringArray& strings) {
    WriteCount((DWORD)strings.GetSize());
    for (int i = 0; i < strings.GetSize(); i++)
        WriteString(strings[i]);
}

void CStreamWriter::WriteBytes(const void* data, size_t n) {
    const BYTE* p = static_cast<const BYTE*>(data);
    m_bytes.insert(m_bytes.end(), p, p + n);
}

void CStreamWriter::WritePicture(BOOL bPresent, const std::vector<BYTE>& jpeg) {
    WriteDword(bPresent ? 1 : 0);
    if (!bPresent)
        return;
    WriteDword((DWORD)jpeg.size());
    WriteBytes(jpeg);
}

void CStreamWriter::WriteImageList(const IMAGELIST_DATA& list) {
    const int nMax = list.nImages < 1
                         ? TILES_PER_ROW
                         : (list.nImages + TILES_PER_ROW - 1) / TILES_PER_ROW * TILES_PER_ROW;
    const int width = list.cx * TILES_PER_ROW;
    const int height = list.cy * (nMax / TILES_PER_ROW);
    const int bpp = list.bMask ? 24 : 32;
    const UINT flags = list.bMask ? (ILC_COLOR24 | ILC_MASK) : ILC_COLOR32;

    WriteWord(IMAGELIST_MAGIC);
    WriteWord(IMAGELIST_VERSION);
    WriteWord((WORD)list.nImages);
    WriteWord((WORD)nMax);
    WriteWord(TILES_PER_ROW);
    WriteWord((WORD)list.cx);
    WriteWord((WORD)list.cy);
    WriteDword(list.clrBk);
    WriteWord((WORD)flags);
    for (int i = 0; i < 4; i++)
        WriteWord(0xFFFF);

    // Both bitmaps: the file header (whose size field holds the header size only, as the
    // platform writes it), the info header, a colour table for the mask, bottom-up rows.
    auto writeHeaders = [&](int bitsPerPixel, int nColours) {
        const int stride = StrideOf(width, bitsPerPixel);
        const DWORD offBits = 14 + 40 + 4 * (DWORD)nColours;
        WriteByte('B');
        WriteByte('M');
        WriteDword(offBits);
        WriteWord(0);
        WriteWord(0);
        WriteDword(offBits);
        WriteDword(40);
        WriteDword((DWORD)width);
        WriteDword((DWORD)height);
        WriteWord(1);
        WriteWord((WORD)bitsPerPixel);
        WriteDword(0);
        WriteDword((DWORD)(stride * height));
        for (int i = 0; i < 4; i++)
            WriteDword(0);
        return stride;
    };
    auto tileOf = [&](int x, int y, int* pImage, int* pTx, int* pTy) {
        *pImage = (y / list.cy) * TILES_PER_ROW + x / list.cx;
        *pTx = x % list.cx;
        *pTy = y % list.cy;
        return *pImage < list.nImages;
    };

    const int stride = writeHeaders(bpp, 0);
    for (int row = height - 1; row >= 0; row--) {
        std::vector<BYTE> line((size_t)stride, 0);
        for (int x = 0; x < width; x++) {
            int image, tx, ty;
            if (!tileOf(x, row, &image, &tx, &ty))
                continue;
            const DWORD argb = list.PixelAt(image, tx, ty);
            const BOOL bClear = list.IsTransparentAt(image, tx, ty);
            BYTE* p = &line[(size_t)x * (size_t)(bpp / 8)];
            p[0] = bClear ? 0 : (BYTE)argb;
            p[1] = bClear ? 0 : (BYTE)(argb >> 8);
            p[2] = bClear ? 0 : (BYTE)(argb >> 16);
            if (bpp == 32)
                p[3] = (BYTE)(argb >> 24);
        }
        WriteBytes(line);
    }
    if (!list.bMask)
        return;

    const int maskStride = writeHeaders(1, 2);
    WriteDword(0x00000000);
    WriteDword(0x00FFFFFF);
    for (int row = height - 1; row >= 0; row--) {
        std::vector<BYTE> line((size_t)maskStride, 0);
        for (int x = 0; x < width; x++) {
            int image, tx, ty;
            const BOOL bClear =
                !tileOf(x, row, &image, &tx, &ty) || list.IsTransparentAt(image, tx, ty);
            if (bClear)
                line[(size_t)x / 8] |= (BYTE)(0x80 >> (x % 8));
        }
        WriteBytes(line);
    }
}
