// The navigation list: a drop-down combo whose rows the program draws, so that row 2 can show
// as a plain line between the view entries and the item entries. Create it with
// CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS.
#pragma once

#include "framework/gdi/GdiObject.h"
#include "framework/window/ComboBox.h"

class CListCombo : public CComboBox {
public:
    // The row drawn as a separator line, whatever its text.
    static const int SEPARATOR_ROW = 2;

    CListCombo() = default;
    ~CListCombo() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // The keyboard steps over the separator, in both directions.
    BOOL IsSelectableRow(int nIndex) const override;

private:
    void DrawSeparator(CDC& dc, const CRect& rcItem);
    void DrawTextRow(CDC& dc, const CRect& rcItem, const CString& strText, UINT itemState);

    // Never given a font: rows are measured in the context's default font.
    CFont m_fontMeasure;
};
