// The keys of the main window, as people know them from other picture viewers: one table from
// a key to what it does, so that every key does exactly what its button does.
#pragma once

#include "framework/core/WinTypes.h"

enum KEY_COMMAND {
    KEY_NONE,
    KEY_NEXT,
    KEY_PREVIOUS,
    // Page Down and Page Up: turn the thumbnails page there, step like NEXT/PREVIOUS elsewhere.
    KEY_PAGE_NEXT,
    KEY_PAGE_PREVIOUS,
    KEY_FIRST_ITEM,
    KEY_LAST_ITEM,
    KEY_IMAGE,
    KEY_DETAILS,
    KEY_THUMBNAILS,
    KEY_COMMENTS,
    KEY_QUIT,
    // The slideshow: start or stop it; a longer or shorter delay.
    KEY_SLIDESHOW,
    KEY_LONGER,
    KEY_SHORTER,
    // The small list of the keys.
    KEY_HELP,
};

KEY_COMMAND KeyCommandOf(int vk);

// Keys the navigation list walks with while it has the focus.
BOOL IsListWalkingKey(int vk);
// Keys that leave a running slideshow running: its own, and Shift, Ctrl and Alt, which are
// held to type them ('+' is Shift and '=' on many keyboards).
BOOL IsSlideshowKey(int vk);
