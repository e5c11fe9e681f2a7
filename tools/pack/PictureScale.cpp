#include "tools/pack/PictureScale.h"

#include <algorithm>

#include "tools/pack/PictureFile.h"

bool CPictureScale::NeedsShrinking(int w, int h, int nLongSide) {
    return nLongSide > 0 && std::max(w, h) > nLongSide;
}

void CPictureScale::FitSize(int w, int h, int nLongSide, int& fw, int& fh) {
    if (!NeedsShrinking(w, h, nLongSide)) {
        fw = w, fh = h;
        return;
    }
    if (w >= h) {
        fw = nLongSide;
        fh = std::max(1, (int)(((long long)h * nLongSide + w / 2) / w));
    } else {
        fh = nLongSide;
        fw = std::max(1, (int)(((long long)w * nLongSide + h / 2) / h));
    }
}

std::vector<BYTE> CPictureScale::Shrink(const BYTE* pixels, int w, int h, size_t nStride,
                                        int nChannels, int tw, int th) {
    std::vector<BYTE> out((size_t)tw * (size_t)th * (size_t)nChannels);
    std::vector<unsigned> sums((size_t)nChannels);
    BYTE* to = out.data();
    for (int y = 0; y < th; ++y) {
        const int y0 = (int)((long long)y * h / th);
        const int y1 = std::max(y0 + 1, (int)((long long)(y + 1) * h / th));
        for (int x = 0; x < tw; ++x) {
            const int x0 = (int)((long long)x * w / tw);
            const int x1 = std::max(x0 + 1, (int)((long long)(x + 1) * w / tw));
            std::fill(sums.begin(), sums.end(), 0u);
            for (int sy = y0; sy < y1; ++sy) {
                const BYTE* p = pixels + (size_t)sy * nStride + (size_t)x0 * (size_t)nChannels;
                for (int sx = x0; sx < x1; ++sx)
                    for (int c = 0; c < nChannels; ++c)
                        sums[(size_t)c] += *p++;
            }
            const unsigned nCount = (unsigned)((y1 - y0) * (x1 - x0));
            for (int c = 0; c < nChannels; ++c)
                *to++ = (BYTE)((sums[(size_t)c] + nCount / 2) / nCount);
        }
    }
    return out;
}

RGBA_IMAGE CPictureScale::Fitted(const RGBA_IMAGE& image, int nLongSide) {
    RGBA_IMAGE fitted;
    FitSize(image.nWidth, image.nHeight, nLongSide, fitted.nWidth, fitted.nHeight);
    const std::vector<BYTE> bytes =
        Shrink(reinterpret_cast<const BYTE*>(image.pixels.data()), image.nWidth, image.nHeight,
               (size_t)image.nWidth * 4, 4, fitted.nWidth, fitted.nHeight);
    fitted.pixels.resize(bytes.size() / 4);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<BYTE*>(fitted.pixels.data()));
    return fitted;
}
