#include "framework/window/Dialog.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "framework/backend/Backend.h"
#include "framework/gdi/DC.h"
#include "framework/window/MessageLoop.h"
#include "framework/window/Static.h"
#include "framework/window/WinApp.h"
#include "framework/window/WindowManager.h"

namespace {
const char DIALOG_CLASS[] = "#32770";
const int SCREEN_DPI = 96;

// Dialog units to pixels with the fixed base units 6 × 13.
CRect PixelsFromUnits(int x, int y, int cx, int cy) {
    int left = MulDiv(x, 6, 4), top = MulDiv(y, 13, 8);
    return CRect(left, top, left + MulDiv(cx, 6, 4), top + MulDiv(cy, 13, 8));
}

const DLGTEMPLATE_DATA* FindTemplate(UINT nIDTemplate) {
    const RESOURCE_ENTRY* pEntry = AfxFindResource(RT_DIALOG, nIDTemplate);
    if (!pEntry || !pEntry->data || pEntry->size < sizeof(DLGTEMPLATE_DATA))
        return nullptr;
    return static_cast<const DLGTEMPLATE_DATA*>(pEntry->data);
}
} // namespace

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_bModal = FALSE;
    if (!CreateFromTemplate(nIDTemplate, pParentWnd))
        return FALSE;
    if ((GetStyle() & WS_VISIBLE) == 0 && m_bTemplateVisible)
        ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CDialog::CreateFromTemplate(UINT nIDTemplate, CWnd* pParentWnd) {
    const DLGTEMPLATE_DATA* pTemplate = FindTemplate(nIDTemplate);
    if (!pTemplate || m_hWnd)
        return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_bEndModal = FALSE;
    m_nModalResult = -1;
    m_bTemplateVisible = (pTemplate->style & WS_VISIBLE) != 0;
    CRect rc = PixelsFromUnits(pTemplate->x, pTemplate->y, pTemplate->cx, pTemplate->cy);
    // A pop-up template stands relative to its owner's client area, as the platform places it.
    if (pParentWnd && !(pTemplate->style & WS_CHILD))
        pParentWnd->ClientToScreen(&rc);
    DWORD dwStyle = pTemplate->style & ~WS_VISIBLE;
    if (!CreateEx(0, DIALOG_CLASS, "", dwStyle, rc, pParentWnd, 0))
        return FALSE;
    HWND hWnd = m_hWnd;
    if (pTemplate->style & DS_SETFONT) {
        LOGFONT lf{};
        lf.lfHeight = -MulDiv(pTemplate->pointSize, SCREEN_DPI, 72);
        lf.lfWeight = FW_NORMAL;
        if (pTemplate->faceName)
            std::strncpy(lf.lfFaceName, pTemplate->faceName, LF_FACESIZE - 1);
        m_templateFont.DeleteObject();
        m_templateFont.CreateFontIndirect(&lf);
        SendMessage(WM_SETFONT, (WPARAM)m_templateFont.m_hObject, FALSE);
    }
    CreateControls(*pTemplate);
    SendMessage(WM_INITDIALOG, 0, 0);
    return ::IsWindow(hWnd);
}

void CDialog::CreateControls(const DLGTEMPLATE_DATA& tmpl) {
    m_controls.clear();
    for (int i = 0; i < tmpl.itemCount && tmpl.items; ++i) {
        const DLGITEMTEMPLATE_DATA& item = tmpl.items[i];
        // Only static controls occur in the program's templates.
        if (!item.className || strcasecmp(item.className, "Static") != 0)
            continue;
        auto pStatic = std::make_unique<CStatic>();
        CRect rc = PixelsFromUnits(item.x, item.y, item.cx, item.cy);
        if (!pStatic->Create(item.text, item.style, rc, this, item.id))
            continue;
        if (m_templateFont.m_hObject)
            pStatic->SetFont(&m_templateFont, FALSE);
        m_controls.push_back(std::move(pStatic));
    }
}

INT_PTR CDialog::DoModal() {
    CWindowManager& m = CWindowManager::Get();
    CWnd* pOwner = m_pParentWnd ? m_pParentWnd->GetTopLevelParent() : nullptr;
    if (!pOwner && AfxGetMainWnd() != this)
        pOwner = AfxGetMainWnd();
    if (pOwner && !pOwner->m_hWnd)
        pOwner = nullptr;
    m_bModal = TRUE;
    m.m_modalStack.push_back(this);
    if (!CreateFromTemplate(m_nIDTemplate, pOwner)) {
        m.m_modalStack.pop_back();
        m_bModal = FALSE;
        return -1;
    }
    HWND hWnd = m_hWnd;
    m_hDisabledOwner = nullptr;
    if (pOwner && pOwner->IsWindowEnabled()) {
        m_hDisabledOwner = pOwner->m_hWnd;
        pOwner->EnableWindow(FALSE);
    }
    if (!m_bEndModal && ::IsWindow(hWnd)) {
        ShowWindow(SW_SHOWNORMAL);
        while (!m_bEndModal && ::IsWindow(hWnd)) {
            // Without a display there is no input that could ever end the dialog.
            if (!AfxGetBackend())
                break;
            AfxPumpMessage(-1);
        }
    }
    if (m_hDisabledOwner)
        ::EnableWindow(m_hDisabledOwner, TRUE);
    m_hDisabledOwner = nullptr;
    if (::IsWindow(hWnd)) {
        ShowWindow(SW_HIDE);
        DestroyWindow();
    }
    m.m_modalStack.erase(std::remove(m.m_modalStack.begin(), m.m_modalStack.end(), this),
                         m.m_modalStack.end());
    m_bModal = FALSE;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_bModal) {
        m_bEndModal = TRUE;
        if (m_hDisabledOwner)
            ::EnableWindow(m_hDisabledOwner, TRUE);
        m_hDisabledOwner = nullptr;
    }
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nCode == CN_COMMAND && nID == IDOK) {
        OnOK();
        return TRUE;
    }
    if (nCode == CN_COMMAND && nID == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Only a top-level dialog answers Enter and Escape; a dialog used as a page does not.
    if (pMsg->message != WM_KEYDOWN || (GetStyle() & WS_CHILD))
        return FALSE;
    if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) {
        int nID = pMsg->wParam == VK_RETURN ? IDOK : IDCANCEL;
        SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
        return TRUE;
    }
    return FALSE;
}

void CDialog::MapDialogRect(LPRECT lpRect) const {
    *lpRect = PixelsFromUnits(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                              lpRect->bottom - lpRect->top);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_ERASEBKGND:
        // The dialog's own control-colour answer paints its background.
        return FillClipBox((HDC)wParam,
                           (HBRUSH)SendMessage(WM_CTLCOLORDLG, wParam, (LPARAM)m_hWnd));
    case WM_CLOSE:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
