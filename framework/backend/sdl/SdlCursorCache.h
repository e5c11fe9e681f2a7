// SDL cursors made from cursor images, each made once: the window system sets the cursor on
// every mouse move, and making an X cursor each time would cost a round trip per move.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>

#include "framework/backend/Backend.h"

struct SDL_Cursor;

class CSdlCursorCache {
public:
    CSdlCursorCache() = default;
    ~CSdlCursorCache();
    CSdlCursorCache(const CSdlCursorCache&) = delete;
    CSdlCursorCache& operator=(const CSdlCursorCache&) = delete;

    // Shows the image's cursor, or the system arrow for null; does nothing when it already shows.
    void Show(const BackendImage* image);
    // Frees every cursor; call before SDL's video goes.
    void Clear();
    int GetCount() const { return (int)m_cursors.size(); }

private:
    // Images are told apart by their content, so a freed and reused image never shows a stale
    // cursor.
    typedef std::tuple<int, int, int, int, uint64_t> Key;
    static Key KeyOf(const BackendImage& image);
    SDL_Cursor* Make(const BackendImage& image);

    std::map<Key, SDL_Cursor*> m_cursors;
    SDL_Cursor* m_pArrow = nullptr;
    SDL_Cursor* m_pCurrent = nullptr;
};
