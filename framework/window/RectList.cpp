#include "framework/window/RectList.h"

namespace {
long long Area(const CRect& rc) {
    return (long long)rc.Width() * rc.Height();
}

bool WorthJoining(const CRect& a, const CRect& b) {
    CRect both;
    if (both.IntersectRect(a, b))
        return true;
    both.UnionRect(a, b);
    return Area(both) <= Area(a) + Area(b);
}

// Joins one pair if any pair is worth it.
bool JoinOnePair(std::vector<CRect>& rects) {
    for (size_t i = 0; i < rects.size(); ++i) {
        for (size_t j = i + 1; j < rects.size(); ++j) {
            if (!WorthJoining(rects[i], rects[j]))
                continue;
            rects[i].UnionRect(rects[i], rects[j]);
            rects.erase(rects.begin() + (ptrdiff_t)j);
            return true;
        }
    }
    return false;
}
} // namespace

void AfxMergeRects(std::vector<CRect>& rects, size_t nMaxRects) {
    std::vector<CRect> kept;
    kept.reserve(rects.size());
    for (const CRect& rc : rects) {
        if (!rc.IsRectEmpty())
            kept.push_back(rc);
    }
    // Joining is quadratic per pass; a flood of rectangles goes straight to one bound.
    while (kept.size() <= 4 * nMaxRects && JoinOnePair(kept)) {
    }
    if (kept.size() > nMaxRects) {
        CRect all;
        for (const CRect& rc : kept)
            all.UnionRect(all, rc);
        kept.assign(1, all);
    }
    rects.swap(kept);
}
