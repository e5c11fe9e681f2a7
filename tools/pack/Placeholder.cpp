#include "tools/pack/Placeholder.h"

#include <algorithm>

#include "framework/system/IconFile.h"
#include "framework/system/Resources.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"
#include "tools/pack/BmpFile.h"
#include "tools/pack/PackCatalogue.h"
#include "tools/pack/SourceFile.h"

IMAGELIST_DATA CPlaceholder::BuiltIn() {
    RegisterProgramResources();
    const RESOURCE_ENTRY* icon = AfxFindResource(RT_GROUP_ICON, IDI_APP_ICON);
    BackendImage decoded;
    if (!icon || !CIconFile::Decode(icon->data, icon->size, decoded, 32))
        throw CPackError("the built-in placeholder icon cannot be read");
    RGBA_IMAGE image;
    image.nWidth = decoded.width;
    image.nHeight = decoded.height;
    image.pixels.assign(decoded.pixels.begin(), decoded.pixels.end());
    return FromImage(image);
}

IMAGELIST_DATA CPlaceholder::FromFile(const std::string& path) {
    CSourceFile::CheckRegular(path);
    RGBA_IMAGE image =
        CBmpFile::IsBmpFile(path) ? CBmpFile::Read(path) : CPictureFile::ReadPng(path);
    if (image.nWidth < 1 || image.nHeight < 1 || image.nWidth > MAX_SIDE ||
        image.nHeight > MAX_SIDE)
        throw CPackError(path + ": a placeholder image must be 1 to " + std::to_string(MAX_SIDE) +
                         " pixels wide and high");
    return FromImage(image);
}

BOOL CPlaceholder::HasImage(const IMAGELIST_DATA& list) {
    const size_t nPixels = (size_t)std::max(list.cx, 0) * (size_t)std::max(list.cy, 0);
    return list.nImages >= 1 && nPixels > 0 && list.pixels.size() >= nPixels &&
           (!list.bMask || list.mask.size() >= nPixels);
}

IMAGELIST_DATA CPlaceholder::FromImage(const RGBA_IMAGE& image) {
    IMAGELIST_DATA list;
    list.cx = image.nWidth;
    list.cy = image.nHeight;
    list.nImages = 1;
    bool bPartial = false;
    for (DWORD p : image.pixels) {
        const DWORD a = p >> 24;
        bPartial = bPartial || (a != 0 && a != 0xFF);
    }
    list.bMask = !bPartial;
    list.bAlpha = bPartial;
    list.flags = bPartial ? ILC_COLOR32 : (ILC_COLOR24 | ILC_MASK);
    for (DWORD p : image.pixels) {
        const bool bClear = (p >> 24) == 0;
        list.pixels.push_back(bPartial ? p : (bClear ? 0xFF000000u : (p | 0xFF000000u)));
        if (list.bMask)
            list.mask.push_back(bClear ? 1 : 0);
    }
    list.imageHasAlpha.push_back(bPartial ? 1 : 0);
    return list;
}

RGBA_IMAGE CPlaceholder::ToImage(const IMAGELIST_DATA& list) {
    RGBA_IMAGE image;
    if (!HasImage(list))
        return image;
    image.nWidth = list.cx;
    image.nHeight = list.cy;
    for (int y = 0; y < list.cy; ++y)
        for (int x = 0; x < list.cx; ++x) {
            const DWORD p = list.PixelAt(0, x, y);
            const bool bAlpha =
                list.bAlpha && list.imageHasAlpha.size() > 0 && list.imageHasAlpha[0];
            if (list.IsTransparentAt(0, x, y))
                image.pixels.push_back(0);
            else
                image.pixels.push_back(bAlpha ? p : (p | 0xFF000000u));
        }
    return image;
}
