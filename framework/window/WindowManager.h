// The window tree (framework internal): every live window record by handle, the top-level
// z-order, capture, focus, the active window, posted messages and the message being handled.
#pragma once

#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "framework/window/WindowRecord.h"

class CDialog;

class CWindowManager {
public:
    static CWindowManager& Get();

    // Handles are never reused, so a stale handle is simply not found.
    CWindowRecord* Find(HWND hWnd) const;
    CWindowRecord* Create(CWnd* pWnd);
    // Unlinks the record from the tree and forgets it.
    void Remove(CWindowRecord* pRec);
    void LinkChild(CWindowRecord* pRec, CWindowRecord* pParent);
    void LinkTopLevel(CWindowRecord* pRec, CWindowRecord* pOwner);
    void BringToTop(CWindowRecord* pRec);

    // Top-level windows, topmost first.
    const std::vector<CWindowRecord*>& TopLevel() const { return m_topLevel; }
    // Every window in painting order: top-level windows bottom to top, each followed by its
    // children bottom to top (depth first). Hidden ones are left out when bVisibleOnly.
    std::vector<CWindowRecord*> PaintOrder(bool bVisibleOnly) const;
    bool IsEmpty() const { return m_records.empty(); }

    HWND m_hCapture = nullptr;
    HWND m_hFocus = nullptr;
    HWND m_hActive = nullptr;
    std::deque<MSG> m_posted;
    // Innermost running modal dialog last.
    std::vector<CDialog*> m_modalStack;

    // The message being handled, for CWnd::Default.
    struct CURRENT_MESSAGE {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<CURRENT_MESSAGE> m_current;

private:
    CWindowManager() = default;
    void AppendPaintOrder(CWindowRecord* pRec, bool bVisibleOnly,
                          std::vector<CWindowRecord*>& order) const;

    std::unordered_map<HWND, std::unique_ptr<CWindowRecord>> m_records;
    std::vector<CWindowRecord*> m_topLevel;
    uintptr_t m_nNextHandle = 0x10000;
};

// Calls the window's WindowProc with the message recorded as current (what Default answers).
LRESULT AfxCallWindowProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);
