// The program's push button: a button window that carries its own background and text colours,
// a semi-bold font and the hand cursor. It answers the control-colour request that its parent
// reflects back to it; the colours are kept only inside brushes.
#pragma once

#include "framework/core/RuntimeClass.h"
#include "framework/gdi/GdiObject.h"
#include "framework/window/Button.h"

class XButton : public CButton {
    DECLARE_DYNCREATE(XButton)

public:
    XButton();
    ~XButton() override;

    // The caption starts empty; the owner sets it with SetWindowText.
    using CButton::Create;
    BOOL Create(CWnd* pParentWnd, UINT nID, DWORD dwStyle, const RECT& rect);
    // The setters replace a brush and do not repaint.
    void SetBackColor(COLORREF crBack);
    void SetTextColor(COLORREF crText);

protected:
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;

    // The colour a brush was made with; black for a brush that could not be made.
    static COLORREF BrushColor(const CBrush& brush);

    CFont m_font;
    CBrush m_brBack;
    CBrush m_brText;
};
