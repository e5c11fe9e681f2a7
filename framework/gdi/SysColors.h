// The system colours. There is no desktop colour scheme to follow here, so the platform's
// current default scheme is fixed in one table: highlight RGB(0,120,215) with white text,
// menus and button faces RGB(240,240,240), windows white with black text.
#pragma once

#include "framework/gdi/GdiTypes.h"

// The colour of a COLOR_* index; black for an index the table does not know.
COLORREF AfxSysColor(int index);
