#include "framework/window/ComboBox.h"

#include <cstring>

#include "framework/gdi/DC.h"
#include "framework/window/ComboList.h"
#include "framework/window/PaintDC.h"

namespace {

// The field's sunken edge, as the platform draws it around the selection.
const int FIELD_BORDER = 3;
// A row height for combos that do not measure their rows themselves.
const int DEFAULT_ROW_HEIGHT = 16;

} // namespace

CComboBox::CComboBox() = default;

CComboBox::~CComboBox() {
    if (m_pList && m_pList->GetSafeHwnd())
        m_pList->DestroyWindow();
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!CWnd::Create("ComboBox", nullptr, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    if (m_nFieldItemHeight == 0)
        m_nFieldItemHeight = MeasureRow(-1, 0);
    FitFieldHeight();
    return TRUE;
}

BOOL CComboBox::PreCreateWindow(CREATESTRUCT& cs) {
    m_bListScrollBar = (cs.style & WS_VSCROLL) != 0;
    cs.style &= ~(WS_VSCROLL | WS_HSCROLL);
    return CWnd::PreCreateWindow(cs);
}

BOOL CComboBox::IsOwnerDrawn() const {
    return (GetStyle() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

int CComboBox::AddString(LPCTSTR lpszString) {
    return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)lpszString);
}
int CComboBox::GetCount() const {
    return (int)m_rows.size();
}
int CComboBox::GetCurSel() const {
    return m_nCurSel;
}
int CComboBox::SetCurSel(int nSelect) {
    return (int)SendMessage(CB_SETCURSEL, (WPARAM)nSelect);
}
DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    return IsValidIndex(nIndex) ? m_rows[(size_t)nIndex].data : (DWORD_PTR)CB_ERR;
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return (int)SendMessage(CB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
}
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const {
    if (!IsValidIndex(nIndex))
        return CB_ERR;
    const CString& s = m_rows[(size_t)nIndex].text;
    if (lpszText)
        memcpy(lpszText, s.GetString(), (size_t)s.GetLength() + 1);
    return s.GetLength();
}
void CComboBox::GetLBText(int nIndex, CString& rString) const {
    rString = IsValidIndex(nIndex) ? m_rows[(size_t)nIndex].text : CString();
}
int CComboBox::GetLBTextLen(int nIndex) const {
    return IsValidIndex(nIndex) ? m_rows[(size_t)nIndex].text.GetLength() : CB_ERR;
}
int CComboBox::GetItemHeight(int nIndex) const {
    if (nIndex == -1)
        return m_nFieldItemHeight;
    return IsValidIndex(nIndex) ? m_rows[(size_t)nIndex].height : CB_ERR;
}
BOOL CComboBox::GetDroppedState() const {
    return m_pList && m_pList->IsOpen();
}

void CComboBox::GetDroppedControlRect(LPRECT lprect) const {
    CRect r;
    GetWindowRect(&r);
    r.bottom = r.top + r.Height() + m_nDropHeight;
    *lprect = r;
}

// The owner's measure of one row (−1: the selection field); rows it leaves at 0 get a default.
int CComboBox::MeasureRow(int nIndex, LPARAM itemData) {
    if (!IsOwnerDrawn())
        return DEFAULT_ROW_HEIGHT;
    CRect client;
    GetClientRect(&client);
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_COMBOBOX;
    mis.CtlID = (UINT)GetDlgCtrlID();
    mis.itemID = (UINT)nIndex;
    mis.itemWidth = (UINT)client.Width();
    mis.itemHeight = DEFAULT_ROW_HEIGHT;
    mis.itemData = (ULONG_PTR)itemData;
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->SendMessage(WM_MEASUREITEM, mis.CtlID, (LPARAM)&mis);
    else
        MeasureItem(&mis);
    return mis.itemHeight > 0 ? (int)mis.itemHeight : DEFAULT_ROW_HEIGHT;
}

// The window is as high as its field; the height it was given is the dropped list's.
void CComboBox::FitFieldHeight() {
    CRect r;
    GetWindowRect(&r);
    const int fieldHeight = m_nFieldItemHeight + 2 * FIELD_BORDER;
    if (r.Height() == fieldHeight)
        return;
    m_nDropHeight = r.Height();
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->ScreenToClient(&r);
    m_bSizing = TRUE;
    MoveWindow(r.left, r.top, r.Width(), fieldHeight, TRUE);
    m_bSizing = FALSE;
}

CRect CComboBox::FieldItemRect() const {
    CRect r;
    GetClientRect(&r);
    r.DeflateRect(FIELD_BORDER, FIELD_BORDER);
    r.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (r.right < r.left)
        r.right = r.left;
    return r;
}

void CComboBox::DrawRow(CDC* pDC, int nIndex, const CRect& rcItem, UINT itemState) {
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_COMBOBOX;
    dis.CtlID = (UINT)GetDlgCtrlID();
    dis.itemID = (UINT)nIndex;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = itemState | (IsWindowEnabled() ? 0 : ODS_DISABLED);
    dis.hwndItem = m_hWnd;
    dis.hDC = pDC->m_hDC;
    dis.rcItem = rcItem;
    dis.itemData = IsValidIndex(nIndex) ? m_rows[(size_t)nIndex].data : 0;
    // Each row starts from the same colours, whatever the row before it left on the context.
    pDC->SaveDC();
    pDC->IntersectClipRect(&rcItem);
    if (!IsOwnerDrawn()) {
        CString text;
        GetLBText(nIndex, text);
        if (itemState & ODS_SELECTED) {
            pDC->SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
            pDC->FillSolidRect(&rcItem, GetSysColor(COLOR_HIGHLIGHT));
        }
        CRect r = rcItem;
        pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(text, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    } else if (CWnd* pParent = GetParent()) {
        pParent->SendMessage(WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
    } else {
        DrawItem(&dis);
    }
    pDC->RestoreDC(-1);
}

HBRUSH CComboBox::AskListColours(CDC* pDC) {
    pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    pDC->SetBkColor(GetSysColor(COLOR_WINDOW));
    CWnd* pParent = GetParent();
    HBRUSH h = pParent ? (HBRUSH)pParent->SendMessage(WM_CTLCOLORLISTBOX, (WPARAM)pDC->m_hDC,
                                                      (LPARAM)m_hWnd)
                       : nullptr;
    return h ? h : GetSysColorBrush(COLOR_WINDOW);
}

void CComboBox::PaintField() {
    CPaintDC dc(this);
    if (CFont* pFont = GetFont())
        dc.SelectObject(pFont);
    CRect client;
    GetClientRect(&client);
    dc.FrameRect(&client, CBrush::FromHandle(GetSysColorBrush(COLOR_BTNSHADOW)));
    CRect button(client.right - FIELD_BORDER + 1 - GetSystemMetrics(SM_CXVSCROLL), client.top + 1,
                 client.right - 1, client.bottom - 1);
    DrawDropButton(&dc, button);
    // The colours are asked for last, so that the owner's row drawing finds them on the context.
    dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    dc.SetBkColor(GetSysColor(COLOR_WINDOW));
    CWnd* pParent = GetParent();
    HBRUSH hBack =
        pParent ? (HBRUSH)pParent->SendMessage(WM_CTLCOLOREDIT, (WPARAM)dc.m_hDC, (LPARAM)m_hWnd)
                : nullptr;
    CRect face(client.left + 1, client.top + 1, button.left, client.bottom - 1);
    dc.FillRect(&face, CBrush::FromHandle(hBack ? hBack : GetSysColorBrush(COLOR_WINDOW)));
    const BOOL focused = GetFocus() == this && !GetDroppedState();
    DrawRow(&dc, m_nCurSel, FieldItemRect(),
            ODS_COMBOBOXEDIT | (focused ? ODS_SELECTED | ODS_FOCUS : 0));
}

void CComboBox::DrawDropButton(CDC* pDC, const CRect& rect) {
    if (rect.IsRectEmpty())
        return;
    pDC->FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
    pDC->FrameRect(&rect, CBrush::FromHandle(GetSysColorBrush(COLOR_BTNSHADOW)));
    // A small downward triangle in the middle.
    const CPoint c = rect.CenterPoint();
    const COLORREF arrow = GetSysColor(IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int i = 0; i < 4; ++i)
        pDC->FillSolidRect(c.x - 3 + i, c.y - 2 + i, 7 - 2 * i, 1, arrow);
}

void CComboBox::ShowDropDown(BOOL bShowIt) {
    if (bShowIt == GetDroppedState())
        return;
    if (!bShowIt) {
        m_pList->Close();
        Invalidate(FALSE);
        return;
    }
    if (!m_pList)
        m_pList.reset(new CComboList(this));
    if (!m_pList->GetSafeHwnd()) {
        CRect none(0, 0, 0, 0);
        if (!m_pList->CreateEx(WS_EX_TOOLWINDOW, nullptr, "", WS_POPUP | WS_BORDER, none, this, 0))
            return;
        if (CFont* pFont = GetFont())
            m_pList->SetFont(pFont, FALSE);
    }
    int rowsHeight = 0;
    for (const Row& r : m_rows)
        rowsHeight += r.height;
    const int border = 2; // WS_BORDER on both sides
    const int height = rowsHeight + border < m_nDropHeight ? rowsHeight + border : m_nDropHeight;
    CRect field;
    GetWindowRect(&field);
    CRect list(field.left, field.bottom, field.right,
               field.bottom + (height > border ? height : border + DEFAULT_ROW_HEIGHT));
    // Like the platform's, the list opens upwards when the screen ends below the field.
    if (list.bottom > GetSystemMetrics(SM_CYSCREEN) && field.top - list.Height() >= 0)
        list.OffsetRect(0, field.top - list.bottom);
    Invalidate(FALSE);
    m_pList->Open(list, m_nCurSel);
}

void CComboBox::Choose(int nIndex) {
    ShowDropDown(FALSE);
    if (!IsValidIndex(nIndex) || nIndex == m_nCurSel)
        return;
    m_nCurSel = nIndex;
    Invalidate(FALSE);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CBN_SELCHANGE), (LPARAM)m_hWnd);
}

BOOL CComboBox::IsSelectableRow(int nIndex) const {
    return IsValidIndex(nIndex);
}

int CComboBox::SelectableRowFrom(int nIndex, int nDirection) const {
    const int nCount = (int)m_rows.size();
    if (nCount == 0)
        return -1;
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex >= nCount)
        nIndex = nCount - 1;
    for (int i = nIndex; i >= 0 && i < nCount; i += nDirection)
        if (IsSelectableRow(i))
            return i;
    for (int i = nIndex; i >= 0 && i < nCount; i -= nDirection)
        if (IsSelectableRow(i))
            return i;
    return -1;
}

int CComboBox::PageRows() const {
    const int nRow = GetItemHeight(m_nCurSel >= 0 ? m_nCurSel : -1);
    const int nRows = nRow > 0 ? (m_nDropHeight - 2) / nRow : 1;
    return nRows > 1 ? nRows - 1 : 1;
}

BOOL CComboBox::OnMoveKey(int vk) {
    const BOOL bDropped = GetDroppedState();
    const int nFrom = bDropped ? m_pList->GetHighlight() : m_nCurSel;
    const int nLast = (int)m_rows.size() - 1;
    int nTarget, nDirection;
    switch (vk) {
    case VK_UP:
        nTarget = nFrom < 0 ? nLast : nFrom - 1, nDirection = -1;
        break;
    case VK_DOWN:
        nTarget = nFrom + 1, nDirection = 1;
        break;
    case VK_PRIOR:
        nTarget = nFrom - PageRows(), nDirection = -1;
        break;
    case VK_NEXT:
        nTarget = nFrom + PageRows(), nDirection = 1;
        break;
    case VK_HOME:
        nTarget = 0, nDirection = 1;
        break;
    case VK_END:
        nTarget = nLast, nDirection = -1;
        break;
    default:
        return FALSE;
    }
    const int nRow = SelectableRowFrom(nTarget, nDirection);
    if (nRow < 0)
        return TRUE;
    if (bDropped)
        m_pList->HighlightRow(nRow);
    else
        Choose(nRow);
    return TRUE;
}

void CComboBox::ToggleDropDown() {
    if (GetDroppedState())
        Choose(m_pList->GetHighlight());
    else
        ShowDropDown(TRUE);
}

BOOL CComboBox::PreTranslateMessage(MSG* pMsg) {
    if ((pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN) || !GetDroppedState())
        return CWnd::PreTranslateMessage(pMsg);
    switch ((int)pMsg->wParam) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_F4:
    case VK_RETURN:
    case VK_ESCAPE:
        SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    default:
        return CWnd::PreTranslateMessage(pMsg);
    }
}

LRESULT CComboBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        LRESULT r = CWnd::DefWindowProc(message, wParam, lParam);
        m_nFieldItemHeight = MeasureRow(-1, 0);
        return r;
    }
    case WM_SIZE:
        if (!m_bSizing && m_nFieldItemHeight > 0)
            FitFieldHeight();
        return CWnd::DefWindowProc(message, wParam, lParam);
    case WM_PAINT:
        PaintField();
        return 0;
    case WM_ERASEBKGND:
        return TRUE; // the field paints all of itself
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus();
        ShowDropDown(!GetDroppedState());
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_UP) {
            ToggleDropDown();
            return 0;
        }
        return CWnd::DefWindowProc(message, wParam, lParam);
    case WM_KEYDOWN:
        if (OnMoveKey((int)wParam))
            return 0;
        switch ((int)wParam) {
        case VK_F4:
            ToggleDropDown();
            return 0;
        case VK_RETURN:
            if (GetDroppedState())
                Choose(m_pList->GetHighlight());
            return 0;
        case VK_ESCAPE:
            ShowDropDown(FALSE);
            return 0;
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
        }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (message == WM_KILLFOCUS)
            ShowDropDown(FALSE);
        Invalidate(FALSE);
        return CWnd::DefWindowProc(message, wParam, lParam);
    case WM_SHOWWINDOW:
        if (!wParam)
            ShowDropDown(FALSE);
        return CWnd::DefWindowProc(message, wParam, lParam);
    case WM_DESTROY:
        if (m_pList && m_pList->GetSafeHwnd())
            m_pList->DestroyWindow();
        return CWnd::DefWindowProc(message, wParam, lParam);
    case CB_ADDSTRING: {
        Row row;
        row.text = CString((LPCTSTR)lParam);
        m_rows.push_back(row);
        const int index = (int)m_rows.size() - 1;
        m_rows.back().height = MeasureRow(index, lParam);
        return index;
    }
    case CB_RESETCONTENT:
        ShowDropDown(FALSE);
        m_rows.clear();
        m_nCurSel = -1;
        Invalidate(FALSE);
        return 0;
    case CB_GETCOUNT:
        return (LRESULT)m_rows.size();
    case CB_GETCURSEL:
        return m_nCurSel;
    case CB_SETCURSEL: {
        const int index = (int)wParam;
        m_nCurSel = IsValidIndex(index) ? index : -1;
        Invalidate(FALSE);
        return m_nCurSel == index && index >= 0 ? index : CB_ERR;
    }
    case CB_GETLBTEXT:
        return GetLBText((int)wParam, (LPTSTR)lParam);
    case CB_GETLBTEXTLEN:
        return GetLBTextLen((int)wParam);
    case CB_GETITEMDATA:
        return (LRESULT)GetItemData((int)wParam);
    case CB_SETITEMDATA:
        if (!IsValidIndex((int)wParam))
            return CB_ERR;
        m_rows[(size_t)wParam].data = (DWORD_PTR)lParam;
        return 0;
    case CB_GETITEMHEIGHT:
        return GetItemHeight((int)wParam);
    case CB_GETDROPPEDSTATE:
        return GetDroppedState();
    case CB_SHOWDROPDOWN:
        ShowDropDown((BOOL)wParam);
        return TRUE;
    case CB_GETDROPPEDCONTROLRECT:
        GetDroppedControlRect((LPRECT)lParam);
        return TRUE;
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
