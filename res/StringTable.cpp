#include <cstring>

#include "res/ResourceIds.h"
#include "res/ResourceTables.h"

namespace {
struct STRING_RESOURCE {
    UINT id;
    LPCSTR text;
};

const STRING_RESOURCE g_strings[] = {
    {IDS_COMMENTS, "Comments"},
    {IDS_THUMBNAILS, "Thumbnails"},
    {IDS_APP_TITLE, "Slideshow"},
    {IDS_MAKER_WEB_ADDRESS, "www.tessarel.com"},
    {IDS_TEMP_PATH_FAILED, "Decompress Image Failed while getting Temporary Path name"},
    {IDS_BOLD_FONT_FACE, "Verdana"},
    {IDS_MAKER_NAME, "Tessarel"},
    {IDS_PREVIOUS, "PREVIOUS"},
    {IDS_NEXT, "NEXT"},
    {IDS_EXIT, "EXIT"},
    {IDS_ABOUT, "ABOUT"},
    {IDS_IMAGE, "IMAGE"},
    {IDS_DETAILS, "DETAILS"},
    {IDS_THUMBNAILS_TAB, "THUMBNAILS"},
    // Category names: carried for the cataloguing product, shown by no window here.
    {15, "Animation Art"},
    {16, "Arms, Armour and Militaria"},
    {17, "Audio and Video Media"},
    {18, "Automata"},
    {19, "Books, Manuscripts and Maps"},
    {20, "Carpets, Rugs, Tapestries and Textiles"},
    {21, "Cars, Motorcycles and Other Vehicles"},
    {22, "Clay, Porcelain and Glass"},
    {23, "Coins, Medals and Decorations"},
    {24, "Collectibles and Memorabilia"},
    {25, "Comics"},
    {26, "Consumer Electronics and Appliances"},
    {27, "Dolls"},
    {28, "Fashion"},
    {29, "Fine Wines and Spirits"},
    {30, "Furniture and Decorations"},
    {31, "Jewelry"},
    {32, "Musical Instruments"},
    {33, "Paintings, Drawing and Sculptures"},
    {34, "Posters and Postcards"},
    {35, "Prints and Photographs"},
    {36, "Scientific Instruments"},
    {37, "Silver and Metals"},
    {38, "Toys and Models"},
    {39, "Watches and Clocks"},
    {IDS_SCREEN_TOO_SMALL, "Your current display resolution is less than 800X600"},
    {IDS_NEXT_THUMBNAIL, "Next %d thumbnail >>"},
    {IDS_NEXT_THUMBNAILS, "Next %d thumbnails >>"},
    {IDS_PREVIOUS_THUMBNAILS, "<< Previous 8 thumbnails"},
};
} // namespace

void AddStringTable(std::vector<RESOURCE_ENTRY>& table) {
    for (const STRING_RESOURCE& s : g_strings)
        table.push_back({RT_STRING, s.id, s.text, (DWORD)std::strlen(s.text)});
}
