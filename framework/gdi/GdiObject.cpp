#include "framework/gdi/GdiObject.h"

#include <cstring>

#include "framework/gdi/DC.h"
#include "framework/gdi/DCState.h"
#include "framework/gdi/GdiObjectData.h"
#include "framework/gdi/SysColors.h"
#include "framework/system/Resources.h"

namespace {

HGDIOBJ AddStock(std::unique_ptr<CGdiObjectData> p) {
    p->m_bStock = true;
    return AfxAddGdiObject(std::move(p));
}

std::unique_ptr<CBrushData> MakeBrush(UINT style, COLORREF color) {
    auto p = std::make_unique<CBrushData>();
    p->m_nStyle = style;
    p->m_color = color;
    return p;
}

std::unique_ptr<CPenData> MakePen(int style, int width, COLORREF color) {
    auto p = std::make_unique<CPenData>();
    p->m_nStyle = style == PS_NULL ? PS_NULL : PS_SOLID;
    p->m_nWidth = width < 0 ? 0 : width;
    p->m_color = color;
    return p;
}

constexpr int STOCK_LAST = STOCK_DEFAULT_BITMAP;

HGDIOBJ MakeStock(int index) {
    switch (index) {
    case WHITE_BRUSH:
        return AddStock(MakeBrush(BS_SOLID, RGB(255, 255, 255)));
    case LTGRAY_BRUSH:
        return AddStock(MakeBrush(BS_SOLID, RGB(192, 192, 192)));
    case GRAY_BRUSH:
        return AddStock(MakeBrush(BS_SOLID, RGB(128, 128, 128)));
    case DKGRAY_BRUSH:
        return AddStock(MakeBrush(BS_SOLID, RGB(64, 64, 64)));
    case BLACK_BRUSH:
        return AddStock(MakeBrush(BS_SOLID, RGB(0, 0, 0)));
    case NULL_BRUSH:
        return AddStock(MakeBrush(BS_NULL, 0));
    case WHITE_PEN:
        return AddStock(MakePen(PS_SOLID, 0, RGB(255, 255, 255)));
    case BLACK_PEN:
        return AddStock(MakePen(PS_SOLID, 0, RGB(0, 0, 0)));
    case NULL_PEN:
        return AddStock(MakePen(PS_NULL, 0, 0));
    case STOCK_DEFAULT_BITMAP: {
        auto p = CBitmapData::Create(1, 1, 1, false, 2);
        return p ? AddStock(std::move(p)) : nullptr;
    }
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: {
        // Both are the font engine's default face at its default size.
        LOGFONT lf{};
        HGDIOBJ h = (HGDIOBJ)CreateFontIndirect(&lf);
        if (CGdiObjectData* p = AfxGetGdiObject(h))
            p->m_bStock = true;
        return h;
    }
    }
    return nullptr;
}

} // namespace

HGDIOBJ GetStockObject(int index) {
    static HGDIOBJ stock[STOCK_LAST + 1] = {};
    if (index < 0 || index > STOCK_LAST)
        return nullptr;
    if (!stock[index])
        stock[index] = MakeStock(index);
    return stock[index];
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1)
        return nullptr;
    // Device bitmaps hold their rows top-down, each padded to a 16-bit word.
    auto p = CBitmapData::Create(width, height, (int)bitsPerPixel, false, 2);
    if (!p)
        return nullptr;
    if (bits)
        std::memcpy(p->Bits(), bits, (size_t)p->m_nStride * (size_t)height);
    return (HBITMAP)AfxAddGdiObject(std::move(p));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    // Every context draws on 32-bit pixels, so every compatible bitmap has them, at the
    // context's scale: what is drawn there stays as sharp as on the context itself.
    const CDCState* dc = AfxGetDCState(hdc);
    const CDeviceScale scale = dc ? dc->Scale() : CDeviceScale();
    auto p = CBitmapData::Create(scale.ScaleLength(width), scale.ScaleLength(height), 32, false, 4);
    if (p)
        p->m_scale = scale;
    return p ? (HBITMAP)AfxAddGdiObject(std::move(p)) : nullptr;
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits,
                         HANDLE hSection, DWORD offset) {
    (void)hdc;
    (void)offset;
    if (ppvBits)
        *ppvBits = nullptr;
    if (!pbmi || usage != DIB_RGB_COLORS || hSection)
        return nullptr;
    const BITMAPINFOHEADER& bih = pbmi->bmiHeader;
    const int bpp = bih.biBitCount;
    if (bih.biSize < sizeof(BITMAPINFOHEADER) || bih.biPlanes != 1 || bih.biHeight == INT32_MIN)
        return nullptr;
    const bool bitfields = bih.biCompression == BI_BITFIELDS;
    if (bih.biCompression != BI_RGB && !(bitfields && bpp == 32))
        return nullptr;
    if (bitfields) {
        // Only the layout every 32-bit surface here has: red, green, blue masks in that order.
        const DWORD* masks = reinterpret_cast<const DWORD*>(pbmi->bmiColors);
        if (masks[0] != 0xFF0000 || masks[1] != 0xFF00 || masks[2] != 0xFF)
            return nullptr;
    }
    const bool bottomUp = bih.biHeight > 0;
    const int height = bottomUp ? bih.biHeight : -bih.biHeight;
    auto p = CBitmapData::Create(bih.biWidth, height, bpp, bottomUp, 4);
    if (!p)
        return nullptr;
    p->m_bDIBSection = true;
    if (bpp <= 8) {
        const int max = 1 << bpp;
        const int count = bih.biClrUsed > 0 && (int)bih.biClrUsed < max ? (int)bih.biClrUsed : max;
        for (int i = 0; i < count; ++i) {
            const RGBQUAD& q = pbmi->bmiColors[i];
            p->m_palette[i] = (uint32_t)q.rgbRed << 16 | (uint32_t)q.rgbGreen << 8 | q.rgbBlue;
        }
    }
    if (ppvBits)
        *ppvBits = p->Bits();
    return (HBITMAP)AfxAddGdiObject(std::move(p));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return (HBRUSH)AfxAddGdiObject(MakeBrush(BS_SOLID, color & 0xFFFFFF));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    const CBitmapData* bm = AfxGetGdiObject<CBitmapData>((HGDIOBJ)bitmap, OBJ_BITMAP);
    // Only monochrome 8 × 8 (or larger: its top-left corner) patterns are drawn.
    if (!bm || bm->m_nBitsPerPixel != 1 || bm->m_nWidth < 8 || bm->m_nHeight < 8)
        return nullptr;
    auto p = MakeBrush(BS_PATTERN, 0);
    for (int y = 0; y < 8; ++y)
        p->m_pattern[y] = bm->Row(y)[0];
    p->m_hPatternBitmap = bitmap;
    return (HBRUSH)AfxAddGdiObject(std::move(p));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    return (HPEN)AfxAddGdiObject(MakePen(style, width, color & 0xFFFFFF));
}

int GetObject(HGDIOBJ h, int size, void* out) {
    const CGdiObjectData* p = AfxGetGdiObject(h);
    return p ? p->GetObject(size, out) : 0;
}

BOOL DeleteObject(HGDIOBJ h) {
    return AfxDeleteGdiObject(h);
}

COLORREF GetSysColor(int index) {
    return AfxSysColor(index);
}

HBRUSH GetSysColorBrush(int index) {
    static HGDIOBJ brushes[COLOR_3DLIGHT + 1] = {};
    if (index < 0 || index > COLOR_3DLIGHT)
        return nullptr;
    if (!brushes[index])
        brushes[index] = AddStock(MakeBrush(BS_SOLID, AfxSysColor(index)));
    return (HBRUSH)brushes[index];
}

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
    if (!h)
        return FALSE;
    DeleteObject();
    m_hObject = h;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int size, void* out) const {
    return ::GetObject(m_hObject, size, out);
}

CBitmap* CBitmap::FromHandle(HBITMAP h) {
    return static_cast<CBitmap*>(AfxGetGdiWrapper((HGDIOBJ)h, OBJ_BITMAP));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return Attach((HGDIOBJ)::LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource)));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                           const void* bits) {
    return Attach((HGDIOBJ)::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int width, int height) {
    return Attach((HGDIOBJ)::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, width, height));
}

CBrush* CBrush::FromHandle(HBRUSH h) {
    return static_cast<CBrush*>(AfxGetGdiWrapper((HGDIOBJ)h, OBJ_BRUSH));
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return Attach((HGDIOBJ)::CreateSolidBrush(color));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    return pBitmap && Attach((HGDIOBJ)::CreatePatternBrush((HBITMAP)pBitmap->m_hObject));
}

BOOL CBrush::CreateSysColorBrush(int index) {
    return Attach((HGDIOBJ)::GetSysColorBrush(index));
}

CPen* CPen::FromHandle(HPEN h) {
    return static_cast<CPen*>(AfxGetGdiWrapper((HGDIOBJ)h, OBJ_PEN));
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    return Attach((HGDIOBJ)::CreatePen(style, width, color));
}
