#include <vector>

#include "framework/gdi/Blit.h"
#include "framework/gdi/DC.h"
#include "framework/gdi/DCState.h"
#include "framework/gdi/ImageList.h"

namespace {

// out = ⌊s·a/255⌋ + ⌊(d·(255−a)+127)/255⌋ per channel, as the platform blends straight alpha.
uint32_t BlendAlpha(uint32_t d, uint32_t s) {
    const uint32_t a = s >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        out |= (sc * a / 255 + (dc * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

// On a scaled surface the image is enlarged smoothly, its mask or alpha becoming soft edges.
void DrawScaled(const IMAGELIST_DATA* list, int i, const CDCState& dc, int x, int y, bool alpha,
                const uint32_t* pUnder) {
    std::vector<uint32_t> image((size_t)list->cx * (size_t)list->cy);
    for (int iy = 0; iy < list->cy; ++iy) {
        for (int ix = 0; ix < list->cx; ++ix) {
            const uint32_t s = list->PixelAt(i, ix, iy);
            const bool bOpaque = alpha || !list->IsTransparentAt(i, ix, iy);
            image[(size_t)iy * list->cx + ix] = alpha     ? s
                                                : bOpaque ? (s | 0xFF000000u)
                                                          : (s & 0xFFFFFF);
        }
    }
    const CRect dst = dc.ToSurface(CRect(x, y, x + list->cx, y + list->cy));
    RasterBlendScaled(dc.Surface(), dc.Clip(), dst, image.data(), list->cx, list->cy, pUnder);
}

} // namespace

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
    const IMAGELIST_DATA* list = ImageList_GetData(himl);
    CDCState* dc = AfxGetDCState(hdcDst);
    if (!list || !dc || i < 0 || i >= list->nImages)
        return FALSE;
    if (!dc->Scale().IsIdentity()) {
        const bool alpha = list->bAlpha && list->imageHasAlpha[(size_t)i];
        const bool onColour = !(fStyle & ILD_TRANSPARENT) && list->clrBk != CLR_NONE;
        const uint32_t bk = PixelFromColor(list->clrBk);
        DrawScaled(list, i, *dc, x, y, alpha, onColour ? &bk : nullptr);
        return TRUE;
    }
    const CPoint at = dc->ToSurface(x, y);
    CRect vis;
    if (!vis.IntersectRect(dc->Clip(), CRect(at.x, at.y, at.x + list->cx, at.y + list->cy)))
        return TRUE;
    const bool alpha = list->bAlpha && list->imageHasAlpha[(size_t)i];
    const bool onColour = !(fStyle & ILD_TRANSPARENT) && list->clrBk != CLR_NONE;
    const uint32_t bk = onColour ? PixelFromColor(list->clrBk) : 0;
    for (int sy = vis.top; sy < vis.bottom; ++sy) {
        uint32_t* row = dc->Surface().Row(sy);
        for (int sx = vis.left; sx < vis.right; ++sx) {
            const int ix = sx - at.x, iy = sy - at.y;
            const uint32_t s = list->PixelAt(i, ix, iy);
            uint32_t& d = row[sx];
            if (alpha)
                d = BlendAlpha(onColour ? bk : d, s);
            else if (list->IsTransparentAt(i, ix, iy))
                d = (onColour ? bk : d) | (s & 0xFFFFFF);
            else
                d = s & 0xFFFFFF;
        }
    }
    return TRUE;
}

BOOL ImageList_Draw(CImageList* pImageList, int i, HDC hdcDst, int x, int y, UINT fStyle) {
    return pImageList ? ImageList_Draw(pImageList->m_hImageList, i, hdcDst, x, y, fStyle) : FALSE;
}
