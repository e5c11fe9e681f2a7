// The flat button of the main window: it draws itself completely, a one-pixel frame, a filled
// face and one line of centred caption, the same whether pressed, focused or disabled.
#pragma once

#include "controls/XButton.h"

class XWebButton : public XButton {
    DECLARE_DYNCREATE(XWebButton)

public:
    XWebButton();
    ~XWebButton() override;

    // As XButton's, with the button type bits of dwStyle replaced by BS_OWNERDRAW.
    BOOL Create(CWnd* pParentWnd, UINT nID, DWORD dwStyle, const RECT& rect);
    // Takes effect at the next paint.
    void SetFrameColor(COLORREF crFrame);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    BOOL OnEraseBkgnd(CDC* pDC) override;

    CBrush m_brFrame;
};
