// A flat child window in one background colour that passes its children's commands and
// notifications on to its own parent, so that controls placed inside a panel talk to the
// window that holds the panel. A right click on the panel itself is reported as NM_RCLICK.
#pragma once

#include "framework/core/RuntimeClass.h"
#include "framework/gdi/GdiObject.h"
#include "framework/window/Wnd.h"

class XPanel : public CWnd {
    DECLARE_DYNCREATE(XPanel)

public:
    XPanel();
    ~XPanel() override;

    // Takes effect at the next erase; the panel is not repainted.
    void SetBackColor(COLORREF crBack);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnPaint() override;

    CBrush m_brBack;
};
