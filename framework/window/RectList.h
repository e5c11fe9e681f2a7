// Lists of changed screen rectangles: merged before they are handed to the display, so that
// one Present covers a turn of the loop with few rectangles.
#pragma once

#include <vector>

#include "framework/core/Geometry.h"

// Drops empty rectangles and joins those that overlap or whose union costs no more area than
// the two together; beyond nMaxRects what is left becomes one bounding rectangle.
void AfxMergeRects(std::vector<CRect>& rects, size_t nMaxRects = 16);
