// The static control: text in one of three alignments with word wrapping, a bitmap that sizes
// the control, or a one-pixel frame; with SS_NOTIFY a click reaches the parent as WM_COMMAND
// (STN_CLICKED). Colours come from the parent's CTLCOLOR_STATIC answer.
#pragma once

#include "framework/window/Wnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xffff);
    // SS_BITMAP: shows the bitmap (not owned) and takes its size; returns the previous one.
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(CDC* pDC);
    HBITMAP m_hBitmap = nullptr;
};
