#include "framework/window/Wnd.h"

#include <cstring>

#include "framework/backend/Backend.h"
#include "framework/backend/ScreenScale.h"
#include "framework/gdi/DC.h"
#include "framework/system/Resources.h"
#include "framework/window/Cursor.h"
#include "framework/window/InputRouter.h"
#include "framework/window/NonClient.h"
#include "framework/window/ScrollBar.h"
#include "framework/window/Timer.h"
#include "framework/window/WinApp.h"
#include "framework/window/WindowManager.h"
#include "framework/window/WindowPainter.h"

namespace {
CWindowManager& Manager() {
    return CWindowManager::Get();
}

CWindowPainter& Painter() {
    return CWindowPainter::Get();
}

CPoint PointFromLParam(LPARAM lParam) {
    return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

// A class background may be a brush or, as the platform allows, a system colour index + 1.
HBRUSH ClassBrush(const WINDOW_CLASS* pClass) {
    if (!pClass || !pClass->hbrBackground)
        return nullptr;
    ULONG_PTR value = (ULONG_PTR)pClass->hbrBackground;
    if (value <= COLOR_3DLIGHT + 1)
        return GetSysColorBrush((int)value - 1);
    return pClass->hbrBackground;
}

// Whether the window is pRoot, one of its children or a pop-up it owns (at any depth).
bool IsInTreeOrOwnedBy(HWND hWnd, const CWindowRecord* pRoot) {
    for (CWindowRecord* p = Manager().Find(hWnd); p; p = p->IsChild() ? p->pParent : p->pOwner) {
        if (p == pRoot)
            return true;
    }
    return false;
}

// The system colours a control gets when no window answers its colour request.
HBRUSH DefaultCtlColor(UINT message, CDC* pDC) {
    bool bWindowColour = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    int nBack = bWindowColour ? COLOR_WINDOW : COLOR_BTNFACE;
    pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    pDC->SetBkColor(GetSysColor(nBack));
    return GetSysColorBrush(nBack);
}

void DestroyTree(HWND hWnd);

// Pop-ups go before the window that owns them, as the platform does.
void DestroyOwned(CWindowRecord* pRec) {
    std::vector<HWND> owned;
    for (CWindowRecord* p : Manager().TopLevel()) {
        if (p->pOwner == pRec && !p->bDestroying)
            owned.push_back(p->hWnd);
    }
    for (HWND h : owned) {
        if (CWnd* pWnd = CWnd::FromHandle(h))
            pWnd->DestroyWindow();
    }
}

// WM_DESTROY from the top down, WM_NCDESTROY from the bottom up; then the record goes.
void DestroyTree(HWND hWnd) {
    CWindowRecord* pRec = Manager().Find(hWnd);
    if (!pRec)
        return;
    pRec->bDestroying = true;
    DestroyOwned(pRec);
    ::SendMessage(hWnd, WM_DESTROY, 0, 0);
    if ((pRec = Manager().Find(hWnd)) == nullptr)
        return;
    std::vector<HWND> children;
    for (CWindowRecord* pChild : pRec->children)
        children.push_back(pChild->hWnd);
    for (HWND hChild : children)
        DestroyTree(hChild);
    ::SendMessage(hWnd, WM_NCDESTROY, 0, 0);
    if ((pRec = Manager().Find(hWnd)) == nullptr)
        return;
    CWnd* pWnd = pRec->pWnd;
    Manager().Remove(pRec);
    if (pWnd) {
        pWnd->m_hWnd = nullptr;
        pWnd->PostNcDestroy();
    }
}

void SetTopLevelText(CWindowRecord* pRec) {
    if (pRec->IsChild() || pRec->pOwner)
        return;
    if (CBackend* pBackend = AfxGetBackend())
        pBackend->SetTitle(pRec->strText);
}
} // namespace

BOOL FillClipBox(HDC hDC, HBRUSH hbr) {
    if (!hbr)
        return FALSE;
    CDC* pDC = CDC::FromHandle(hDC);
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    pDC->FillRect(&rcClip, CBrush::FromHandle(hbr));
    return TRUE;
}

// ---- creation and destruction ----------------------------------------------------------------

CWnd::CWnd() = default;

CWindowRecord* CWnd::Record() const {
    return Manager().Find(m_hWnd);
}

CWnd::~CWnd() {
    if (m_hWnd && Record())
        DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    CWindowRecord* pRec = Manager().Find(hWnd);
    return pRec ? pRec->pWnd : nullptr;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void* /*pContext*/) {
    // Create always makes a child window, as the framework's does.
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr, nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, UINT_PTR nIDorHMenu,
                    LPVOID lpParam) {
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = (HMENU)nIDorHMenu;
    cs.lpCreateParams = lpParam;
    cs.hInstance = AfxGetResourceHandle();
    if (!PreCreateWindow(cs))
        return FALSE;
    return CreateWindowRecord(cs, (UINT)(UINT_PTR)cs.hMenu);
}

BOOL CWnd::CreateWindowRecord(CREATESTRUCT& cs, UINT nID) {
    const WINDOW_CLASS* pClass = CWindowClass::Find(cs.lpszClass);
    CWindowRecord* pParent = Manager().Find(cs.hwndParent);
    DWORD dwStyle = (DWORD)cs.style;
    if (!pClass || ((dwStyle & WS_CHILD) && !pParent))
        return FALSE;

    CWindowRecord* pRec = Manager().Create(this);
    pRec->pClass = pClass;
    pRec->dwStyle = dwStyle & ~WS_VISIBLE;
    pRec->dwExStyle = cs.dwExStyle;
    pRec->nID = (dwStyle & WS_CHILD) ? nID : 0;
    pRec->rcWindow =
        CRect(cs.x, cs.y, cs.x + (cs.cx > 0 ? cs.cx : 0), cs.y + (cs.cy > 0 ? cs.cy : 0));
    pRec->strText = cs.lpszName;
    if (dwStyle & WS_CHILD) {
        Manager().LinkChild(pRec, pParent);
    } else {
        Manager().LinkTopLevel(pRec, pParent);
    }
    m_hWnd = pRec->hWnd;
    HWND hWnd = m_hWnd;

    if (!SendMessage(WM_NCCREATE, 0, (LPARAM)&cs) || SendMessage(WM_CREATE, 0, (LPARAM)&cs) == -1) {
        if (Manager().Find(hWnd))
            DestroyTree(hWnd);
        return FALSE;
    }
    if (!Manager().Find(hWnd))
        return FALSE;
    CRect rcClient;
    GetClientRect(&rcClient);
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rcClient.Width(), rcClient.Height()));
    if ((dwStyle & WS_VISIBLE) && Manager().Find(hWnd))
        ShowWindow(SW_SHOW);
    return Manager().Find(hWnd) != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& /*cs*/) {
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    CWindowRecord* pRec = Record();
    if (!pRec || pRec->bDestroying)
        return FALSE;
    HWND hWnd = m_hWnd;
    if (pRec->IsVisible())
        Painter().InvalidateBeneath(pRec, pRec->ScreenRect());
    pRec->dwStyle &= ~WS_VISIBLE;
    CWindowManager& m = Manager();
    if (m.m_hCapture && IsInTreeOrOwnedBy(m.m_hCapture, pRec))
        ::ReleaseCapture();
    if (m.m_hFocus && IsInTreeOrOwnedBy(m.m_hFocus, pRec))
        m.m_hFocus = nullptr;
    if (m.m_hActive == hWnd)
        CInputRouter::Get().ActivateNext(pRec);
    CNonClient::Get().ForgetWindow(hWnd);
    DestroyTree(hWnd);
    return TRUE;
}

void CWnd::PostNcDestroy() {}

// ---- messages ---------------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd)
        return 0;
    return AfxCallWindowProc(this, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const auto& current = Manager().m_current;
    if (current.empty())
        return 0;
    const CWindowManager::CURRENT_MESSAGE msg = current.back();
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsCtlColorMessage(message))
        return (LRESULT)OnCtlColor(CDC::FromHandle((HDC)wParam), FromHandle((HWND)lParam),
                                   message - WM_CTLCOLORMSGBOX);
    switch (message) {
    case WM_CREATE:
        return OnCreate((LPCREATESTRUCT)lParam);
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        OnNcDestroy();
        return 0;
    case WM_SIZE:
        OnSize((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow((BOOL)wParam, (UINT)lParam);
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(CDC::FromHandle((HDC)wParam));
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(FromHandle((HWND)wParam), (UINT)(short)LOWORD(lParam), HIWORD(lParam));
    case WM_MOUSEMOVE:
        OnMouseMove((UINT)wParam, PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown((UINT)wParam, PointFromLParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp((UINT)wParam, PointFromLParam(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp((UINT)wParam, PointFromLParam(lParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        OnTimer((UINT_PTR)wParam);
        return 0;
    case WM_MOUSEWHEEL:
        if (OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam),
                         CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            return 0;
        break;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), (CScrollBar*)FromHandle((HWND)lParam));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), (CScrollBar*)FromHandle((HWND)lParam));
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(FromHandle((HWND)lParam));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DRAWITEM:
        OnDrawItem((int)wParam, (LPDRAWITEMSTRUCT)lParam);
        return TRUE;
    case WM_MEASUREITEM:
        OnMeasureItem((int)wParam, (LPMEASUREITEMSTRUCT)lParam);
        return TRUE;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result))
            return result;
        break;
    }
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return 0;
    if (IsCtlColorMessage(message))
        return (LRESULT)DefaultCtlColor(message, CDC::FromHandle((HDC)wParam));
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_ERASEBKGND:
        return FillClipBox((HDC)wParam, ClassBrush(pRec->pClass));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_NCPAINT:
        CNonClient::Get().Paint(pRec);
        return 0;
    case WM_NCHITTEST:
        return CNonClient::Get().HitTest(pRec, PointFromLParam(lParam));
    case WM_MOUSEWHEEL:
        // A child that does not scroll lets the window around it have the wheel.
        return pRec->IsChild() ? ::SendMessage(pRec->pParent->hWnd, message, wParam, lParam) : 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
            CNonClient::Get().BeginTrack(m_hWnd, wParam == HTVSCROLL ? SB_VERT : SB_HORZ,
                                         PointFromLParam(lParam));
        }
        return 0;
    case WM_SETCURSOR: {
        // The parent decides first; a window only sets its own class cursor over itself.
        if (pRec->IsChild() && ::SendMessage(pRec->pParent->hWnd, WM_SETCURSOR, wParam, lParam)) {
            return TRUE;
        }
        if ((HWND)wParam != m_hWnd)
            return FALSE;
        if ((short)LOWORD(lParam) == HTCLIENT) {
            if (!pRec->pClass || !pRec->pClass->hCursor)
                return FALSE;
            ::SetCursor(pRec->pClass->hCursor);
            return TRUE;
        }
        ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    }
    case WM_SETTEXT:
        pRec->strText = (LPCSTR)lParam;
        SetTopLevelText(pRec);
        return TRUE;
    case WM_GETTEXTLENGTH:
        return pRec->strText.GetLength();
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam)
            return 0;
        size_t n = std::min((size_t)pRec->strText.GetLength(), (size_t)wParam - 1);
        std::memcpy((char*)lParam, pRec->strText.GetString(), n);
        ((char*)lParam)[n] = '\0';
        return (LRESULT)n;
    }
    case WM_SETFONT:
        pRec->hFont = (HFONT)wParam;
        if (LOWORD(lParam))
            Invalidate();
        return 0;
    case WM_GETFONT:
        return (LRESULT)pRec->hFont;
    case WM_SETICON: {
        HICON& slot = wParam == ICON_BIG ? pRec->hIconBig : pRec->hIconSmall;
        HICON hOld = slot;
        slot = (HICON)lParam;
        if (!pRec->IsChild() && !pRec->pOwner)
            AfxShowDesktopIcon((HICON)lParam);
        return (LRESULT)hOld;
    }
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    default:
        return 0;
    }
}

BOOL CWnd::PreTranslateMessage(MSG* /*pMsg*/) {
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hCtl = (HWND)lParam;
    if (hCtl) {
        CWnd* pCtl = FromHandle(hCtl);
        LRESULT result = 0;
        if (pCtl && pCtl != this && pCtl->OnChildNotify(WM_COMMAND, wParam, lParam, &result)) {
            return TRUE;
        }
    } else {
        nCode = CN_COMMAND;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pHeader = (NMHDR*)lParam;
    if (!pHeader)
        return FALSE;
    CWnd* pCtl = FromHandle(pHeader->hwndFrom);
    if (pCtl && pCtl != this && pCtl->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult)) {
        return TRUE;
    }
    return OnCmdMsg((UINT)pHeader->idFrom, (int)MAKELONG(pHeader->code, WM_NOTIFY), pHeader,
                    nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (IsCtlColorMessage(message)) {
        HBRUSH hbr = CtlColor(CDC::FromHandle((HDC)wParam), message - WM_CTLCOLORMSGBOX);
        if (!hbr)
            return FALSE;
        if (pResult)
            *pResult = (LRESULT)hbr;
        return TRUE;
    }
    switch (message) {
    case WM_DRAWITEM:
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    case WM_MEASUREITEM:
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

HBRUSH CWnd::CtlColor(CDC* /*pDC*/, UINT /*nCtlColor*/) {
    return nullptr;
}

void CWnd::DrawItem(LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) {}

void CWnd::MeasureItem(LPMEASUREITEMSTRUCT /*lpMeasureItemStruct*/) {}

// ---- default handlers ---------------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT) {
    return (int)Default();
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnNcDestroy() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return (BOOL)Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return (BOOL)Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void*) {
    CTimerQueue::Get().Set(m_hWnd, nIDEvent, nElapse);
    return nIDEvent;
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return CTimerQueue::Get().Kill(m_hWnd, nIDEvent);
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return FALSE;
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnCaptureChanged(CWnd*) {
    Default();
}
void CWnd::OnClose() {
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    // The control that asks may answer its own request (reflection).
    if (pWnd && pWnd != this) {
        LRESULT result = 0;
        if (pWnd->OnChildNotify(WM_CTLCOLORMSGBOX + nCtlColor, (WPARAM)pDC->m_hDC,
                                (LPARAM)pWnd->m_hWnd, &result)) {
            return (HBRUSH)result;
        }
    }
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int /*nIDCtl*/, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CWnd* pCtl = lpDrawItemStruct ? FromHandle(lpDrawItemStruct->hwndItem) : nullptr;
    LRESULT result = 0;
    if (pCtl && pCtl != this &&
        pCtl->OnChildNotify(WM_DRAWITEM, (WPARAM)lpDrawItemStruct->CtlID, (LPARAM)lpDrawItemStruct,
                            &result)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    // The record names no window, only the control id.
    CWnd* pCtl = GetDlgItem(nIDCtl);
    LRESULT result = 0;
    if (pCtl && lpMeasureItemStruct &&
        pCtl->OnChildNotify(WM_MEASUREITEM, (WPARAM)nIDCtl, (LPARAM)lpMeasureItemStruct, &result)) {
        return;
    }
    Default();
}

// ---- tree and state
// -------------------------------------------------------------------------------

CWnd* CWnd::GetParent() const {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return nullptr;
    CWindowRecord* pUp = pRec->IsChild() ? pRec->pParent : pRec->pOwner;
    return pUp ? pUp->pWnd : nullptr;
}

CWnd* CWnd::GetOwner() const {
    return GetParent();
}

CWnd* CWnd::GetTopLevelParent() const {
    CWindowRecord* pRec = Record();
    return pRec ? pRec->TopLevel()->pWnd : nullptr;
}

BOOL CWnd::IsChild(const CWnd* pWnd) const {
    CWindowRecord* pRec = pWnd ? Manager().Find(pWnd->m_hWnd) : nullptr;
    for (CWindowRecord* p = pRec && pRec->IsChild() ? pRec->pParent : nullptr; p;
         p = p->IsChild() ? p->pParent : nullptr) {
        if (p->hWnd == m_hWnd)
            return TRUE;
    }
    return FALSE;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return nullptr;
    for (CWindowRecord* pChild : pRec->children) {
        if ((int)pChild->nID == nID)
            return pChild->pWnd;
    }
    return nullptr;
}

int CWnd::GetDlgCtrlID() const {
    CWindowRecord* pRec = Record();
    return pRec ? (int)pRec->nID : 0;
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
    if (CWnd* pItem = GetDlgItem(nID))
        pItem->SetWindowText(lpszString);
}

DWORD CWnd::GetStyle() const {
    CWindowRecord* pRec = Record();
    return pRec ? pRec->dwStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT /*nFlags*/) {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return FALSE;
    DWORD dwNew = (pRec->dwStyle & ~dwRemove) | dwAdd;
    if (dwNew == pRec->dwStyle)
        return FALSE;
    const DWORD dwFrame = WS_BORDER | WS_VSCROLL | WS_HSCROLL;
    bool bFrameChanged = ((dwNew ^ pRec->dwStyle) & dwFrame) != 0;
    pRec->dwStyle = dwNew;
    if (bFrameChanged)
        Painter().InvalidateAll(pRec);
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return FALSE;
    HWND hWnd = m_hWnd;
    BOOL bWasVisible = pRec->HasStyle(WS_VISIBLE);
    if (nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_MINIMIZE) {
        if (!pRec->IsChild()) {
            if (CBackend* pBackend = AfxGetBackend())
                pBackend->Minimize();
        }
        return bWasVisible;
    }
    if (nCmdShow == SW_HIDE) {
        if (!bWasVisible)
            return FALSE;
        SendMessage(WM_SHOWWINDOW, FALSE, 0);
        if (!(pRec = Manager().Find(hWnd)))
            return TRUE;
        if (pRec->IsVisible())
            Painter().InvalidateBeneath(pRec, pRec->ScreenRect());
        pRec->dwStyle &= ~WS_VISIBLE;
        CInputRouter::Get().OnHidden(pRec);
        return TRUE;
    }
    if (!bWasVisible) {
        SendMessage(WM_SHOWWINDOW, TRUE, 0);
        if (!(pRec = Manager().Find(hWnd)))
            return FALSE;
        pRec->dwStyle |= WS_VISIBLE;
        Painter().InvalidateAll(pRec);
    }
    if (!pRec->IsChild()) {
        if (CBackend* pBackend = AfxGetBackend())
            pBackend->ShowScreen();
    }
    bool bActivate = nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE;
    if (bActivate && !pRec->IsChild())
        CInputRouter::Get().Activate(pRec);
    return bWasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    CWindowRecord* pRec = Record();
    return pRec && pRec->IsVisible();
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const {
    CWindowRecord* pRec = Record();
    return pRec && !pRec->HasStyle(WS_DISABLED);
}

void CWnd::BringWindowToTop() {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return;
    Manager().BringToTop(pRec);
    Painter().InvalidateAll(pRec);
}

// ---- geometry -----------------------------------------------------------------------------------

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL /*bRepaint*/) {
    // Always repainted: with one rectangle per window nothing can keep the old pixels anyway.
    CWindowRecord* pRec = Record();
    if (!pRec)
        return;
    CRect rcOldScreen = pRec->ScreenRect();
    CSize oldClient = pRec->ClientScreenRect().Size();
    bool bVisible = pRec->IsVisible();
    if (bVisible)
        Painter().InvalidateBeneath(pRec, rcOldScreen);
    pRec->rcWindow = CRect(x, y, x + (nWidth > 0 ? nWidth : 0), y + (nHeight > 0 ? nHeight : 0));
    if (bVisible)
        Painter().InvalidateAll(pRec);
    CSize newClient = pRec->ClientScreenRect().Size();
    if (newClient != oldClient)
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(newClient.cx, newClient.cy));
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, bRepaint);
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    CWindowRecord* pRec = Record();
    *lpRect = pRec ? pRec->ScreenRect() : CRect();
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    CWindowRecord* pRec = Record();
    CSize size = pRec ? pRec->ClientScreenRect().Size() : CSize();
    *lpRect = CRect(0, 0, size.cx, size.cy);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return;
    CPoint origin = pRec->ClientScreenRect().TopLeft();
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ClientToScreen((LPPOINT)lpRect);
    ClientToScreen(((LPPOINT)lpRect) + 1);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return;
    CPoint origin = pRec->ClientScreenRect().TopLeft();
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ScreenToClient((LPPOINT)lpRect);
    ScreenToClient(((LPPOINT)lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    CWindowRecord* pRec = Record();
    if (!pRec)
        return;
    CRect rcArea;
    const CSize screen = AfxGetScreenSize();
    CRect rcScreen(0, 0, screen.cx, screen.cy);
    if (pRec->IsChild()) {
        rcArea = pRec->pParent->ClientScreenRect();
    } else {
        CWindowRecord* pCenter =
            pAlternateOwner ? Manager().Find(pAlternateOwner->m_hWnd) : pRec->pOwner;
        // As the framework does: a hidden owner gives way to the screen.
        rcArea = pCenter && pCenter->IsVisible() ? pCenter->ScreenRect() : rcScreen;
    }
    CRect rc = pRec->ScreenRect();
    int x = rcArea.left + (rcArea.Width() - rc.Width()) / 2;
    int y = rcArea.top + (rcArea.Height() - rc.Height()) / 2;
    if (pRec->IsChild()) {
        CPoint origin = pRec->pParent->ClientScreenRect().TopLeft();
        x -= origin.x;
        y -= origin.y;
    } else if (!rcScreen.IsRectEmpty()) {
        x = std::max(0, std::min(x, (int)rcScreen.right - rc.Width()));
        y = std::max(0, std::min(y, (int)rcScreen.bottom - rc.Height()));
    }
    MoveWindow(x, y, rc.Width(), rc.Height(), FALSE);
}

// ---- text, font, icon ---------------------------------------------------------------------------

void CWnd::SetWindowText(LPCTSTR lpszString) {
    SendMessage(WM_SETTEXT, 0, (LPARAM)(lpszString ? lpszString : ""));
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    return (int)const_cast<CWnd*>(this)->SendMessage(WM_GETTEXT, (WPARAM)nMaxCount,
                                                     (LPARAM)lpszStringBuf);
}

void CWnd::GetWindowText(CString& rString) const {
    int nLength = GetWindowTextLength();
    std::string buffer((size_t)nLength + 1, '\0');
    int nGot = GetWindowText(&buffer[0], nLength + 1);
    buffer.resize((size_t)(nGot > 0 ? nGot : 0));
    rString = CString(std::move(buffer));
}

int CWnd::GetWindowTextLength() const {
    return (int)const_cast<CWnd*>(this)->SendMessage(WM_GETTEXTLENGTH, 0, 0);
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    SendMessage(WM_SETFONT, (WPARAM)(pFont ? pFont->m_hObject : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const {
    HFONT hFont = (HFONT) const_cast<CWnd*>(this)->SendMessage(WM_GETFONT, 0, 0);
    return hFont ? CFont::FromHandle(hFont) : nullptr;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return (HICON)SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
}

// ---- free functions
// -------------------------------------------------------------------------------

BOOL IsWindow(HWND hWnd) {
    return CWindowManager::Get().Find(hWnd) != nullptr;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    return pWnd ? AfxCallWindowProc(pWnd, message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hWnd))
        return FALSE;
    MSG msg{};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    CWindowManager::Get().m_posted.push_back(msg);
    return TRUE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    CWindowRecord* pRec = CWindowManager::Get().Find(hWnd);
    if (!pRec)
        return FALSE;
    BOOL bWasDisabled = pRec->HasStyle(WS_DISABLED);
    if (bWasDisabled == !bEnable)
        return bWasDisabled;
    if (bEnable) {
        pRec->dwStyle &= ~WS_DISABLED;
    } else {
        pRec->dwStyle |= WS_DISABLED;
        CInputRouter::Get().OnDisabled(pRec);
    }
    ::SendMessage(hWnd, WM_ENABLE, bEnable, 0);
    return bWasDisabled;
}

int GetSystemMetrics(int nIndex) {
    const CSize screen = AfxGetScreenSize();
    switch (nIndex) {
    case SM_CXSCREEN:
        return screen.cx;
    case SM_CYSCREEN:
        return screen.cy;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 14;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    default:
        return 0;
    }
}
