#include "tools/pack/BmpFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tools/pack/PackCatalogue.h"

namespace {
DWORD Le(const std::vector<BYTE>& b, size_t at, int n) {
    DWORD v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | b[at + (size_t)i];
    return v;
}

const size_t MAX_BMP_BYTES = 16u << 20;
} // namespace

BOOL CBmpFile::IsBmpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char sig[2] = {};
    return in.read(sig, 2) && sig[0] == 'B' && sig[1] == 'M';
}

RGBA_IMAGE CBmpFile::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CPackError(path + ": cannot open");
    std::vector<BYTE> b;
    b.reserve(4096);
    char c;
    while (b.size() <= MAX_BMP_BYTES && in.get(c))
        b.push_back((BYTE)c);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || b.size() > MAX_BMP_BYTES)
        throw CPackError(path + ": not a BMP file this tool reads");
    const DWORD offBits = Le(b, 10, 4);
    const LONG width = (LONG)Le(b, 18, 4), height = (LONG)Le(b, 22, 4);
    const DWORD bpp = Le(b, 28, 2), compression = Le(b, 30, 4);
    if ((bpp != 24 && bpp != 32) || (compression != 0 && !(compression == 3 && bpp == 32)))
        throw CPackError(path + ": only uncompressed 24- and 32-bit BMP files can be placeholders");
    const LONG absHeight = std::labs(height);
    if (width < 1 || width > 4096 || absHeight < 1 || absHeight > 4096)
        throw CPackError(path + ": the BMP's size is out of range");
    const size_t stride = ((size_t)width * bpp / 8 + 3) & ~(size_t)3;
    if (offBits > b.size() || b.size() - offBits < stride * (size_t)absHeight)
        throw CPackError(path + ": the BMP is cut short");
    RGBA_IMAGE image;
    image.nWidth = (int)width;
    image.nHeight = (int)absHeight;
    bool bAnyAlpha = false;
    for (LONG y = 0; y < absHeight; ++y) {
        const size_t row = offBits + stride * (size_t)(height > 0 ? absHeight - 1 - y : y);
        for (LONG x = 0; x < width; ++x) {
            const BYTE* p = &b[row + (size_t)x * bpp / 8];
            const DWORD a = bpp == 32 ? p[3] : 0xFF;
            bAnyAlpha = bAnyAlpha || (bpp == 32 && a != 0);
            image.pixels.push_back(a << 24 | (DWORD)p[2] << 16 | (DWORD)p[1] << 8 | p[0]);
        }
    }
    // 32-bit files usually leave the fourth byte zero: they are opaque.
    if (bpp == 32 && !bAnyAlpha)
        for (DWORD& p : image.pixels)
            p |= 0xFF000000u;
    return image;
}
