#include "framework/backend/sdl/SdlCursorCache.h"

#include <SDL.h>

CSdlCursorCache::~CSdlCursorCache() {
    Clear();
}

void CSdlCursorCache::Clear() {
    for (auto& entry : m_cursors)
        if (entry.second)
            SDL_FreeCursor(entry.second);
    m_cursors.clear();
    if (m_pArrow)
        SDL_FreeCursor(m_pArrow);
    m_pArrow = nullptr;
    m_pCurrent = nullptr;
}

CSdlCursorCache::Key CSdlCursorCache::KeyOf(const BackendImage& image) {
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (uint32_t p : image.pixels) {
        hash ^= p;
        hash *= 1099511628211ull;
    }
    return Key(image.width, image.height, image.hotX, image.hotY, hash);
}

SDL_Cursor* CSdlCursorCache::Make(const BackendImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != (size_t)image.width * (size_t)image.height)
        return nullptr;
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormatFrom((void*)image.pixels.data(), image.width, image.height,
                                           32, image.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!s)
        return nullptr;
    SDL_Cursor* c = SDL_CreateColorCursor(s, image.hotX, image.hotY);
    SDL_FreeSurface(s);
    return c;
}

void CSdlCursorCache::Show(const BackendImage* image) {
    SDL_Cursor* wanted = nullptr;
    if (image) {
        Key key = KeyOf(*image);
        auto it = m_cursors.find(key);
        if (it == m_cursors.end())
            it = m_cursors.emplace(key, Make(*image)).first;
        wanted = it->second;
    }
    if (!wanted) {
        if (!m_pArrow)
            m_pArrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        wanted = m_pArrow;
    }
    if (wanted && wanted != m_pCurrent) {
        SDL_SetCursor(wanted);
        m_pCurrent = wanted;
    }
}
