// Where the parts of a window scroll bar lie (framework internal): two arrow buttons as thick
// as the bar, the track between them, and a thumb whose length follows the page. Positions map
// to thumb offsets and back, as the platform's bars do.
#pragma once

#include "framework/window/Messages.h"

class CDC;

class CScrollBarLayout {
public:
    enum PART {
        PART_NONE,
        PART_ARROW_FIRST,
        PART_PAGE_FIRST,
        PART_THUMB,
        PART_PAGE_LAST,
        PART_ARROW_LAST
    };
    static constexpr int MIN_THUMB = 8;

    // nThumbPos: the position the thumb shows (the tracked one while it is dragged).
    CScrollBarLayout(const CRect& rcBar, bool bVertical, const SCROLLINFO& info, int nThumbPos);

    // The largest position the bar reaches: max − page + 1 (max without a page), never below
    // min.
    static int Limit(const SCROLLINFO& info);
    // A bar that can move: its range is wider than its page.
    static bool IsScrollable(const SCROLLINFO& info);

    PART HitTest(CPoint pt) const;
    CRect PartRect(PART part) const;
    bool HasThumb() const { return !m_rcThumb.IsRectEmpty(); }
    // Distance of the point from the bar's start along the bar.
    int Along(CPoint pt) const { return m_bVertical ? pt.y - m_rcBar.top : pt.x - m_rcBar.left; }
    int ThumbStart() const { return m_nThumbStart; }
    // The position whose thumb starts at that distance from the bar's start.
    int PosFromThumbStart(int nStart) const;

    void Draw(CDC* pDC, bool bEnabled) const;

private:
    void DrawArrow(CDC* pDC, const CRect& rc, bool bFirst, bool bEnabled) const;

    CRect m_rcBar;
    bool m_bVertical;
    SCROLLINFO m_info;
    int m_nArrow = 0;      // length of each arrow button
    int m_nTrackStart = 0; // along the bar
    int m_nTrackLength = 0;
    int m_nThumbStart = 0;
    int m_nThumbLength = 0;
    CRect m_rcThumb;
};
