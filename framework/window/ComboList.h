// The list pop-up of a drop-down combo box. While it is open it holds the mouse capture, so
// that a click anywhere else closes it; the row under the pointer is shown selected, and a
// click on a row chooses it. Rows that do not fit scroll with the window's own scroll bar.
#pragma once

#include "framework/window/Wnd.h"

class CComboBox;

class CComboList : public CWnd {
public:
    explicit CComboList(CComboBox* pCombo) : m_pCombo(pCombo) {}

    // Shows the list over rect (screen pixels) with the given row highlighted and in view.
    void Open(const CRect& rect, int nHighlight);
    void Close();
    BOOL IsOpen() const { return m_bOpen; }
    int GetHighlight() const { return m_nHighlight; }
    int GetTopIndex() const { return m_nTop; }
    // Highlights a row chosen with the keyboard and brings it into view.
    void HighlightRow(int nIndex);

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    int RowAt(CPoint point) const;
    CRect RowRect(int nIndex) const;
    // Rows that fit in the client area when the list shows its last row.
    int LastPageRows() const;
    int MaxTop() const;
    void SetTop(int nTop);
    void EnsureVisible(int nIndex);
    void SetHighlight(int nIndex);
    void UpdateScrollBar();
    void OnButtonDown(CPoint point);
    void OnButtonUp(CPoint point);
    void OnScroll(UINT nCode, UINT nPos);

    CComboBox* m_pCombo;
    BOOL m_bOpen = FALSE;
    int m_nHighlight = -1;
    int m_nTop = 0;
    BOOL m_bScrolling = FALSE; // the scroll bar has the mouse; take it back when it ends
};
