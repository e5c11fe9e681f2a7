// The program's read-only text field: one text wrapped at word boundaries inside fixed margins,
// in its own colours and font, painted through an off-screen bitmap so that stacked fields in a
// scrolling panel never flicker. A paint draws only the part of the field that shows, and of
// the text only the lines there: a comment of ten thousand lines paints as fast as a short one. It
// tells its owner how tall it must be for a given width; the owner sizes and places it. A right
// button going down on it is reported as NM_RCLICK.
#pragma once

#include <vector>

#include "framework/core/RuntimeClass.h"
#include "framework/gdi/GdiObject.h"
#include "framework/window/Wnd.h"

class XWrappingStatic : public CWnd {
    DECLARE_DYNCREATE(XWrappingStatic)

public:
    XWrappingStatic();
    ~XWrappingStatic() override;

    // A visible child with an empty rectangle and control id 0. The font is the icon-title
    // font at a 14-pixel cell, bold only when bBold is exactly 1.
    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, BOOL bBold);
    // The setters take effect at the next paint; none repaints.
    void SetText(LPCTSTR lpszText);
    void SetBackColor(COLORREF crBack);
    void SetTextColor(COLORREF crText);
    // The window height, margins included, that shows the whole text at that window width.
    int GetWrappedHeight(int nWidth);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnPaint() override;
    void OnDestroy() override;

    CRect m_rcMargins;
    CString m_strText;
    COLORREF m_crText;
    CBrush m_brBack;
    CFont m_font;

private:
    void CreateTextFont(BOOL bBold);
    void DrawContents(CDC* pDC, const CRect& rcClient, const CRect& rcDraw);
    // Wraps the text at nWidth in the selected font until m_lines holds nCount lines or the
    // whole text. Paragraphs wrap on their own, so a paint wraps no further than the last line
    // it shows; the lines are kept until the text, the font or the width changes.
    void WrapLines(CDC* pDC, int nWidth, size_t nCount);

    std::vector<TEXT_LINE> m_lines;
    int m_nLinesWidth = -1; // -1: nothing wrapped yet
    int m_nWrappedTo = 0;   // where the next paragraph to wrap starts in the text
    int m_nLineHeight = 0;
};
