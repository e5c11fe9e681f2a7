#include "framework/window/Cursor.h"

#include <map>
#include <memory>

#include "framework/backend/Backend.h"
#include "framework/system/IconFile.h"
#include "framework/system/Resources.h"

// What a cursor or icon handle points to.
struct HCURSOR__ {
    BackendImage image;
    bool bStandardArrow = false;
};

namespace {
HCURSOR g_hCurrent = nullptr;

// The busy cursor: an hourglass, black outline on white glass with sand, drawn once.
BackendImage MakeHourglass() {
    static const char* const rows[] = {"XXXXXXXXXXX", "X.........X", " X.......X ", " X.sssss.X ",
                                       "  X.sss.X  ", "   X.s.X   ", "    X.X    ", "   X.s.X   ",
                                       "  X..s..X  ", " X...s...X ", " X.sssss.X ", "X..sssss..X",
                                       "XXXXXXXXXXX"};
    BackendImage image;
    image.width = 11;
    image.height = 13;
    image.hotX = 5;
    image.hotY = 6;
    image.pixels.assign((size_t)image.width * image.height, 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            char c = rows[y][x];
            uint32_t& p = image.pixels[(size_t)y * image.width + x];
            if (c == 'X' || c == 's')
                p = 0xFF000000;
            if (c == '.')
                p = 0xFFFFFFFF;
        }
    }
    return image;
}

HCURSOR Standard(LPCSTR name) {
    static HCURSOR__ s_arrow{BackendImage(), true};
    static HCURSOR__ s_wait{MakeHourglass(), false};
    if (name == IDC_WAIT)
        return &s_wait;
    // Every other standard shape stands in with the arrow.
    return &s_arrow;
}

// Resource cursors and icons are decoded once and kept for the run.
HCURSOR FromResource(LPCSTR type, UINT id, int preferredSize) {
    static std::map<std::pair<ULONG_PTR, UINT>, std::unique_ptr<HCURSOR__>> s_cache;
    auto key = std::make_pair((ULONG_PTR)type, id);
    auto it = s_cache.find(key);
    if (it != s_cache.end())
        return it->second.get();
    const RESOURCE_ENTRY* pEntry = AfxFindResource(type, id);
    if (!pEntry)
        return nullptr;
    auto pCursor = std::make_unique<HCURSOR__>();
    if (!CIconFile::Decode(pEntry->data, pEntry->size, pCursor->image, preferredSize))
        return nullptr;
    HCURSOR h = pCursor.get();
    s_cache.emplace(key, std::move(pCursor));
    return h;
}
} // namespace

HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (!IS_INTRESOURCE(lpCursorName))
        return nullptr;
    if (!hInstance)
        return Standard(lpCursorName);
    return FromResource(RT_GROUP_CURSOR, (UINT)(ULONG_PTR)lpCursorName, 32);
}

HICON LoadIcon(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (!hInstance || !IS_INTRESOURCE(lpIconName))
        return nullptr;
    return (HICON)FromResource(RT_GROUP_ICON, (UINT)(ULONG_PTR)lpIconName, 32);
}

HCURSOR SetCursor(HCURSOR hCursor) {
    HCURSOR hOld = g_hCurrent;
    if (hCursor == g_hCurrent)
        return hOld;
    g_hCurrent = hCursor;
    if (CBackend* pBackend = AfxGetBackend()) {
        bool bArrow = !hCursor || hCursor->bStandardArrow;
        pBackend->SetCursor(bArrow ? nullptr : &hCursor->image);
    }
    return hOld;
}

HCURSOR GetCursor() {
    return g_hCurrent;
}

void AfxShowDesktopIcon(HICON hIcon) {
    CBackend* pBackend = AfxGetBackend();
    HCURSOR hImage = (HCURSOR)hIcon;
    if (pBackend && hImage && !hImage->bStandardArrow)
        pBackend->SetIcon(hImage->image);
}
