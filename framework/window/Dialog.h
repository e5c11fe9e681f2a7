// A dialog window made from a template of the program's resources (RT_DIALOG), modeless with
// Create or modal with DoModal. The dialog's background is the brush its own OnCtlColor gives
// for CTLCOLOR_DLG; Enter sends IDOK and Escape IDCANCEL, which end the dialog by default.
// Dialog units become pixels with the fixed base units 6 × 13 (x·6/4, y·13/8, MulDiv rounding).
// The template font is asked for at its size on a 96-dpi screen: 8 points are a character
// height of 11 pixels (lfHeight −11), the face through the font engine's best match.
#pragma once

#include <memory>
#include <vector>

#include "framework/gdi/GdiObject.h"
#include "framework/system/Resources.h"
#include "framework/window/Wnd.h"

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the window from the template, with pParentWnd as owner (a pop-up) or parent (a
    // WS_CHILD template), its "Static" controls as CStatic children, then calls OnInitDialog;
    // shown when the template has WS_VISIBLE. Returns FALSE when the template is missing.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Creates the window from the constructor's template, shows it, disables the owner and runs
    // the program's message loop until EndDialog or until the window is destroyed. Returns the
    // EndDialog result; −1 when the window could not be created or was destroyed without one.
    virtual INT_PTR DoModal();
    // Ends a modal dialog with nResult; hides a modeless one.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    // IDOK and IDCANCEL: both end the dialog (with IDOK / IDCANCEL) unless overridden.
    virtual void OnOK();
    virtual void OnCancel();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Enter → IDOK, Escape → IDCANCEL to this dialog, as WM_COMMAND.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Dialog units to pixels with the fixed base units 6 × 13.
    void MapDialogRect(LPRECT lpRect) const;

    UINT m_nIDHelp = 0;
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL CreateFromTemplate(UINT nIDTemplate, CWnd* pParentWnd);
    void CreateControls(const DLGTEMPLATE_DATA& tmpl);

    // The template's font and its "Static" controls live as long as the dialog object.
    CFont m_templateFont;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    HWND m_hDisabledOwner = nullptr;
    BOOL m_bTemplateVisible = FALSE;
    BOOL m_bModal = FALSE;
    BOOL m_bEndModal = FALSE;
    int m_nModalResult = -1;
};
