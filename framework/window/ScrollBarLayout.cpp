#include "framework/window/ScrollBarLayout.h"

#include <algorithm>

#include "framework/gdi/DC.h"

namespace {
CRect Span(const CRect& rcBar, bool bVertical, int nStart, int nLength) {
    if (bVertical)
        return CRect(rcBar.left, rcBar.top + nStart, rcBar.right, rcBar.top + nStart + nLength);
    return CRect(rcBar.left + nStart, rcBar.top, rcBar.left + nStart + nLength, rcBar.bottom);
}

// A raised button face with the classic two-step edge.
void DrawRaised(CDC* pDC, const CRect& rc) {
    pDC->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
    if (rc.Width() < 2 || rc.Height() < 2)
        return;
    pDC->FillSolidRect(rc.left, rc.top, rc.Width() - 1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height() - 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, GetSysColor(COLOR_3DDKSHADOW));
    pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), GetSysColor(COLOR_3DDKSHADOW));
    if (rc.Width() < 4 || rc.Height() < 4)
        return;
    pDC->FillSolidRect(rc.left + 1, rc.bottom - 2, rc.Width() - 2, 1, GetSysColor(COLOR_BTNSHADOW));
    pDC->FillSolidRect(rc.right - 2, rc.top + 1, 1, rc.Height() - 2, GetSysColor(COLOR_BTNSHADOW));
}

COLORREF Mix(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}
} // namespace

CScrollBarLayout::CScrollBarLayout(const CRect& rcBar, bool bVertical, const SCROLLINFO& info,
                                   int nThumbPos)
    : m_rcBar(rcBar), m_bVertical(bVertical), m_info(info) {
    int nLength = bVertical ? rcBar.Height() : rcBar.Width();
    int nThickness = bVertical ? rcBar.Width() : rcBar.Height();
    if (nLength <= 0 || nThickness <= 0)
        return;
    // A bar shorter than two whole arrows gives each arrow half and has no thumb.
    m_nArrow = std::min(nThickness, nLength / 2);
    m_nTrackStart = m_nArrow;
    m_nTrackLength = nLength - 2 * m_nArrow;
    if (!IsScrollable(info) || m_nTrackLength <= 0)
        return;
    long long range = (long long)info.nMax - info.nMin + 1;
    int nThumb = info.nPage ? (int)(m_nTrackLength * (long long)info.nPage / range) : nThickness;
    nThumb = std::max(nThumb, MIN_THUMB);
    if (nThumb >= m_nTrackLength)
        return;
    m_nThumbLength = nThumb;
    int nLimit = Limit(info);
    int nPos = std::min(std::max(nThumbPos, info.nMin), nLimit);
    long long span = (long long)nLimit - info.nMin;
    int nOffset =
        span > 0 ? (int)((nPos - info.nMin) * (long long)(m_nTrackLength - nThumb) / span) : 0;
    m_nThumbStart = m_nTrackStart + nOffset;
    m_rcThumb = Span(rcBar, bVertical, m_nThumbStart, m_nThumbLength);
}

int CScrollBarLayout::Limit(const SCROLLINFO& info) {
    long long limit = (long long)info.nMax - (info.nPage > 0 ? (long long)info.nPage - 1 : 0);
    return (int)std::max<long long>(limit, info.nMin);
}

bool CScrollBarLayout::IsScrollable(const SCROLLINFO& info) {
    return info.nMax > info.nMin && Limit(info) > info.nMin;
}

CScrollBarLayout::PART CScrollBarLayout::HitTest(CPoint pt) const {
    if (!m_rcBar.PtInRect(pt))
        return PART_NONE;
    int nAlong = Along(pt);
    int nLength = m_bVertical ? m_rcBar.Height() : m_rcBar.Width();
    if (nAlong < m_nArrow)
        return PART_ARROW_FIRST;
    if (nAlong >= nLength - m_nArrow)
        return PART_ARROW_LAST;
    if (!HasThumb())
        return PART_NONE;
    if (nAlong < m_nThumbStart)
        return PART_PAGE_FIRST;
    if (nAlong < m_nThumbStart + m_nThumbLength)
        return PART_THUMB;
    return PART_PAGE_LAST;
}

CRect CScrollBarLayout::PartRect(PART part) const {
    int nLength = m_bVertical ? m_rcBar.Height() : m_rcBar.Width();
    switch (part) {
    case PART_ARROW_FIRST:
        return Span(m_rcBar, m_bVertical, 0, m_nArrow);
    case PART_ARROW_LAST:
        return Span(m_rcBar, m_bVertical, nLength - m_nArrow, m_nArrow);
    case PART_THUMB:
        return m_rcThumb;
    case PART_PAGE_FIRST:
        return HasThumb() ? Span(m_rcBar, m_bVertical, m_nTrackStart, m_nThumbStart - m_nTrackStart)
                          : CRect();
    case PART_PAGE_LAST: {
        if (!HasThumb())
            return CRect();
        int nEnd = m_nThumbStart + m_nThumbLength;
        return Span(m_rcBar, m_bVertical, nEnd, m_nTrackStart + m_nTrackLength - nEnd);
    }
    default:
        return CRect();
    }
}

int CScrollBarLayout::PosFromThumbStart(int nStart) const {
    int nLimit = Limit(m_info);
    int nRoom = m_nTrackLength - m_nThumbLength;
    if (!HasThumb() || nRoom <= 0)
        return m_info.nMin;
    int nOffset = std::min(std::max(nStart - m_nTrackStart, 0), nRoom);
    long long span = (long long)nLimit - m_info.nMin;
    // Rounded up, so that the thumb drawn at the result starts exactly where it was dragged.
    return m_info.nMin + (int)((nOffset * span + nRoom - 1) / nRoom);
}

void CScrollBarLayout::Draw(CDC* pDC, bool bEnabled) const {
    COLORREF crTrack = Mix(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(&m_rcBar, crTrack);
    bool bActive = bEnabled && IsScrollable(m_info);
    DrawArrow(pDC, PartRect(PART_ARROW_FIRST), true, bActive);
    DrawArrow(pDC, PartRect(PART_ARROW_LAST), false, bActive);
    if (HasThumb())
        DrawRaised(pDC, m_rcThumb);
}

void CScrollBarLayout::DrawArrow(CDC* pDC, const CRect& rc, bool bFirst, bool bEnabled) const {
    if (rc.IsRectEmpty())
        return;
    DrawRaised(pDC, rc);
    // A small solid triangle, pointing away from the track.
    COLORREF cr = bEnabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
    int nSize = std::max(1, std::min(rc.Width(), rc.Height()) / 4);
    CPoint c = rc.CenterPoint();
    for (int i = 0; i < nSize; ++i) {
        int nRow = bFirst ? i : nSize - 1 - i;
        int nHalf = nRow;
        if (m_bVertical) {
            pDC->FillSolidRect(c.x - nHalf, c.y - nSize / 2 + i, 2 * nHalf + 1, 1, cr);
        } else {
            pDC->FillSolidRect(c.x - nSize / 2 + i, c.y - nHalf, 1, 2 * nHalf + 1, cr);
        }
    }
}
