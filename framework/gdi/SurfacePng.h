// Screenshots: a surface, or a part of it, written as an 8-bit RGB PNG file.
#pragma once

#include "framework/gdi/Surface.h"

// FALSE (and no file left behind) when the file cannot be written or the part is empty.
BOOL AfxWriteSurfacePng(const CSurface& surface, const char* path);
BOOL AfxWriteSurfacePng(const CSurface& surface, const CRect& part, const char* path);
