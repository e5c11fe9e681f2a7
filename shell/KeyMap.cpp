#include "shell/KeyMap.h"

#include "framework/window/Messages.h"

namespace {

struct KEY_ROW {
    int vk;
    KEY_COMMAND nCommand;
};

const KEY_ROW KEYS[] = {
    {VK_RIGHT, KEY_NEXT},
    {VK_SPACE, KEY_NEXT},
    {VK_LEFT, KEY_PREVIOUS},
    {VK_BACK, KEY_PREVIOUS},
    {VK_NEXT, KEY_PAGE_NEXT},
    {VK_PRIOR, KEY_PAGE_PREVIOUS},
    {VK_HOME, KEY_FIRST_ITEM},
    {VK_END, KEY_LAST_ITEM},
    {'I', KEY_IMAGE},
    {'D', KEY_DETAILS},
    {'T', KEY_THUMBNAILS},
    {'C', KEY_COMMENTS},
    {'Q', KEY_QUIT},
    {'S', KEY_SLIDESHOW},
    {VK_F5, KEY_SLIDESHOW},
    {VK_OEM_PLUS, KEY_LONGER},
    {VK_ADD, KEY_LONGER},
    {VK_OEM_MINUS, KEY_SHORTER},
    {VK_SUBTRACT, KEY_SHORTER},
    {VK_F1, KEY_HELP},
    {VK_OEM_2, KEY_HELP},
};

} // namespace

KEY_COMMAND KeyCommandOf(int vk) {
    for (const KEY_ROW& row : KEYS)
        if (row.vk == vk)
            return row.nCommand;
    return KEY_NONE;
}

BOOL IsListWalkingKey(int vk) {
    switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL IsSlideshowKey(int vk) {
    if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU)
        return TRUE;
    const KEY_COMMAND nCommand = KeyCommandOf(vk);
    return nCommand == KEY_SLIDESHOW || nCommand == KEY_LONGER || nCommand == KEY_SHORTER;
}
