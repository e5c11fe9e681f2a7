// The program's hyperlink: a static (text or bitmap) that shows the hand cursor and knows while
// the mouse is over it. Clicks reach the parent as ordinary static clicks (create it with
// SS_NOTIFY); the parent decides which address to open, with OpenWebAddress.
#pragma once

#include "framework/window/Static.h"

// Results of OpenWebAddress, as the platform's shell reports them: above 32 means opened.
#define SE_ERR_FNF 2
#define SE_ERR_NOASSOC 31
#define SE_OPENED 33

class CLinkStatic : public CStatic {
public:
    CLinkStatic() = default;
    ~CLinkStatic() override;

    BOOL GetHover() const { return m_bHover; }
    // Writes the flag only: the capture and the display stay as they are.
    void SetHover(BOOL bHover) { m_bHover = bHover; }
    COLORREF GetLinkColor() const { return m_crText; }

    // Opens the address in the user's browser: the desktop's own opener first, then the
    // registered web browser with the address as its argument. Never waits for the browser.
    // Returns a value above 32 when a program took the address.
    static int OpenWebAddress(LPCTSTR lpszAddress, int nShowCmd);

protected:
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    // The capture is what lets the link see the pointer leave: without it the hover ends.
    void OnCaptureChanged(CWnd* pWnd) override;

private:
    void Redraw();

    COLORREF m_crText = RGB(255, 255, 255);
    BOOL m_bHover = FALSE;
};
