// A panel that scrolls its children: the owner declares the content size and the panel shows,
// sizes and positions its own window scroll bars and moves the children when the user scrolls.
// The scroll positions live in the window's scroll bars, not in the object.
#pragma once

#include "controls/XPanel.h"

class XScrollPanel : public XPanel {
    DECLARE_DYNCREATE(XScrollPanel)

public:
    XScrollPanel();
    ~XScrollPanel() override;

    // A child with an empty rectangle, WS_CHILD | WS_VISIBLE added to dwStyle.
    using XPanel::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // The content size in pixels; steps are a tenth (page) and a hundredth (line) of it.
    void SetContentSize(int cx, int cy);
    // A page or line size of 0 selects a tenth of the total or of the page.
    void SetScrollMetrics(int nMapMode, SIZE sizeTotal, SIZE sizePage, SIZE sizeLine);
    // Moves the view without any range check.
    void ScrollToPosition(POINT pt);
    // The low byte of nScrollCode is the horizontal action, the high byte the vertical one.
    BOOL ScrollByCode(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    BOOL ScrollByOffset(CSize sizeScroll, BOOL bDoScroll = TRUE);
    CPoint GetScrollOrigin() const;
    void UpdateScrollBars();

protected:
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    // Lines down or up, as the bar's arrows step; at an end the panel keeps the wheel.
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;

    CSize GetScrollBarSizes() const;
    BOOL GetFullClientSize(CSize& sizeClient, CSize& sizeBars);
    void GetScrollBarState(CSize sizeClient, CSize& needBars, CSize& sizeRange, CPoint& ptMove,
                           BOOL bInsideClient);

    int m_nMapMode = 0;
    CSize m_sizeTotalLog;
    CSize m_sizeTotal;
    CSize m_sizePage;
    CSize m_sizeLine;
    BOOL m_bInUpdate = FALSE;

private:
    // TRUE when the message came from the panel's own bar for that direction.
    BOOL IsOwnBar(int nBar, UINT message, UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // The thumb position of a scroll message, in full.
    UINT GetThumbPosition(int nBar, UINT nSBCode, UINT nPos);
};
