// A window: the C++ object behind one HWND of the framework's window tree. Messages reach
// WindowProc, which calls one virtual handler per message; every handler's base version does
// the default processing (Default → DefWindowProc), as the platform's would.
#pragma once

#include "framework/core/String.h"
#include "framework/window/CmdTarget.h"
#include "framework/window/Messages.h"

class CDC;
class CFont;
class CRgn;
class CScrollBar;
class CWindowRecord;

class CWnd : public CCmdTarget {
public:
    CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Destroys the window if it still exists.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    // The object of a live window; null for null or a destroyed window.
    static CWnd* FromHandle(HWND hWnd);

    // Creation. The class name is one registered with AfxRegisterWndClass or a standard one
    // ("Static", "Button", "ComboBox", dialog "#32770"); null means the framework's default
    // class (double clicks, arrow cursor, no background brush). The rectangle is in the
    // parent's client coordinates for a child, in screen pixels otherwise.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, UINT_PTR nIDorHMenu,
                  LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL DestroyWindow();
    // Called after the last message (WM_NCDESTROY); the object is then detached from its window.
    virtual void PostNcDestroy();

    // Message entry points.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the window's class (what the platform's class procedure does).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc of the message being handled.
    LRESULT Default();
    // Called by the modal loop for keyboard messages before they are dispatched: the focus window,
    // then its parents up to the dialog. TRUE: the message was handled and is not dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Reflection: the parent hands a child's WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM,
    // WM_COMMAND and WM_NOTIFY to the child first. TRUE: the child answered (*pResult).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The reflected control-colour request: a brush to answer it, or null to let the parent.
    virtual HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    // The reflected owner-draw requests.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    // Tree and state.
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    BOOL IsChild(const CWnd* pWnd) const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    void BringWindowToTop();
    // WM_TIMER with that id every nElapse milliseconds until KillTimer or the window goes.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Geometry: window rectangles in screen pixels, client rectangles from (0, 0).
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    // Text and font.
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);

    // Painting.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void UpdateWindow();
    // Moves the children by (dx, dy) and invalidates the client area.
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr,
                      LPCRECT lpClipRect = nullptr);
    // A DC for the client area (GetDC) or the whole window (GetWindowDC), drawing straight on
    // the screen; give it back with ReleaseDC.
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
    void EndPaint(const PAINTSTRUCT* lpPaint);

    // Input.
    CWnd* SetCapture();
    static CWnd* GetCapture();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    static CWnd* GetActiveWindow();

    // The window's own scroll bars (WS_VSCROLL / WS_HSCROLL in the non-client area).
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    // The largest position: max − page + 1 (max when there is no page), never below min.
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    // Shows or hides the bar (SB_HORZ, SB_VERT or SB_BOTH); the client area changes with it.
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
    // Separate scroll-bar controls are not used: always null.
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

protected:
    // Message handlers, called by WindowProc; each base version does the default processing.
    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    virtual void OnDestroy();
    virtual void OnNcDestroy();
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnShowWindow(BOOL bShow, UINT nStatus);
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnPaint();
    // The base asks the child's reflected CtlColor first, then gives the default colours.
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnRButtonUp(UINT nFlags, CPoint point);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    // pt in screen pixels. FALSE passes the wheel on to the parent.
    virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnCaptureChanged(CWnd* pWnd);
    virtual void OnClose();
    // The base reflects to the control (DrawItem / MeasureItem).
    virtual void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);

private:
    friend class CWindowManager;
    // The window's place in the tree; null before creation and once the window is gone.
    CWindowRecord* Record() const;
    BOOL CreateWindowRecord(CREATESTRUCT& cs, UINT nID);
};

// Free functions with the platform's names.
BOOL IsWindow(HWND hWnd);
// Painting on a bare handle; a null window's DC covers the whole screen.
HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
HDC GetDC(HWND hWnd);
HDC GetWindowDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase);
BOOL UpdateWindow(HWND hWnd);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL ReleaseCapture();
HWND GetCapture();
HWND GetFocus();
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
int GetSystemMetrics(int nIndex);
// Fills the context's clip box with the brush, as a window's background is erased; FALSE,
// with nothing drawn, for a null brush.
BOOL FillClipBox(HDC hDC, HBRUSH hbr);
// Registers (or finds) a window class with these attributes; the name stays valid for the run.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                            HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
