// The push button. Each paint first asks the parent for the button's colours (WM_CTLCOLORBTN,
// which the parent may reflect back to the button) and then, for BS_OWNERDRAW, hands the same
// device context to the owner-draw request (WM_DRAWITEM). A click is a press and a release
// inside the button; it reaches the parent as WM_COMMAND with BN_CLICKED and the button's id.
#pragma once

#include "framework/window/Wnd.h"

class CButton : public CWnd {
public:
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // TRUE while the left button went down on it and the pointer is still over it.
    BOOL IsPushed() const { return m_bPushed; }

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    void DrawPlain(CDC* pDC, HBRUSH hBack, const CRect& rect);
    void Press(CPoint point);
    void Track(CPoint point);
    void Release(CPoint point);
    void SetPushed(BOOL bPushed);

    BOOL m_bTracking = FALSE; // the press started here and the mouse is captured
    BOOL m_bPushed = FALSE;
};
