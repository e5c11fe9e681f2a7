// The drop-down list combo box (CBS_DROPDOWNLIST): a closed selection field and, on a click,
// a list pop-up below it (above it when the screen ends first). With CBS_OWNERDRAWVARIABLE the
// owner measures each row as it is added (WM_MEASUREITEM) and draws the rows and the field
// (WM_DRAWITEM; the field with ODS_COMBOBOXEDIT). A pick sends CBN_SELCHANGE to the parent.
#pragma once

#include <memory>
#include <vector>

#include "framework/window/Wnd.h"

class CComboList;

class CComboBox : public CWnd {
public:
    CComboBox();
    ~CComboBox() override;

    // The rectangle's height is the height of the dropped list; the window itself takes the
    // height of its selection field.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int AddString(LPCTSTR lpszString);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    // The height of a row, or of the selection field for −1.
    int GetItemHeight(int nIndex) const;
    BOOL GetDroppedState() const;
    void ShowDropDown(BOOL bShowIt = TRUE);
    // The field and the list together, in screen pixels, as the list drops.
    void GetDroppedControlRect(LPRECT lprect) const;
    // The list pop-up once it has been dropped (for tests and for dialogs that route keys).
    CComboList* GetDroppedList() const { return m_pList.get(); }
    BOOL HasListScrollBar() const { return m_bListScrollBar; }

    // The dropped list and the keyboard choose through these.
    void Choose(int nIndex);
    // Sends the owner-draw request for a row (or the field, with ODS_COMBOBOXEDIT) on pDC.
    void DrawRow(CDC* pDC, int nIndex, const CRect& rcItem, UINT itemState);
    // The colours of the list pop-up, asked of the parent on the given context.
    HBRUSH AskListColours(CDC* pDC);

    // While the list is dropped its keys (arrows, pages, Home, End, F4, Enter, Escape) belong to
    // it: Escape closes the list instead of the dialog, as the platform's dialogs do.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Rows the keyboard may stop on; a derived combo passes over its separators.
    virtual BOOL IsSelectableRow(int nIndex) const;

protected:
    // The scroll-bar styles belong to the dropped list, not to the field.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Row {
        CString text;
        DWORD_PTR data = 0;
        int height = 0;
    };

    int MeasureRow(int nIndex, LPARAM itemData);
    void FitFieldHeight();
    void PaintField();
    void DrawDropButton(CDC* pDC, const CRect& rect);
    CRect FieldItemRect() const;
    // Up, Down, Page Up, Page Down, Home and End; FALSE for any other key.
    BOOL OnMoveKey(int vk);
    // F4, Alt+Down and Alt+Up: open the list, or close it choosing the highlighted row.
    void ToggleDropDown();
    // The selectable row nearest nIndex (clamped to the rows) going in nDirection, else the
    // nearest one the other way; −1 when no row can be selected.
    int SelectableRowFrom(int nIndex, int nDirection) const;
    // Rows of the current height that fit in the dropped list: the step of Page Up/Down.
    int PageRows() const;
    BOOL IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < (int)m_rows.size(); }
    BOOL IsOwnerDrawn() const;

    std::vector<Row> m_rows;
    int m_nCurSel = -1;
    int m_nFieldItemHeight = 0;
    int m_nDropHeight = 0;
    BOOL m_bSizing = FALSE;
    BOOL m_bListScrollBar = FALSE; // created with WS_VSCROLL: the list scrolls with a bar
    std::unique_ptr<CComboList> m_pList;
};
