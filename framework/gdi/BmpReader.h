// Reading .bmp files (the program's bitmap resources) into 32-bit device bitmaps.
#pragma once

#include <cstddef>

#include "framework/gdi/GdiTypes.h"

// A bitmap from a whole .bmp file of 1, 4, 8, 16 (X1R5G5B5 or BI_BITFIELDS), 24 or 32 bits,
// rows bottom-up or top-down; null for a damaged, truncated or compressed file.
HBITMAP AfxReadBmp(const void* data, size_t size);
