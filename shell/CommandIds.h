// Command and control ids of the main window, and the codes of its four views.
#pragma once

#include "pages/PageCommandIds.h"

#define ID_NEXT 300
#define ID_PREVIOUS 301
#define ID_EXIT 302
#define ID_SHOW_IMAGE 303
#define ID_SHOW_DETAILS 304
#define ID_SHOW_THUMBNAILS 305
#define ID_MINIMIZE 306
#define ID_ABOUT 307
#define ID_ITEM_LIST 400
#define ID_MAKER_LINK 500

#define VIEW_DETAILS (-2)
#define VIEW_IMAGE (-1)
#define VIEW_COMMENTS 0
#define VIEW_THUMBNAILS 1
