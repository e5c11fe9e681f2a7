#include "framework/window/WindowManager.h"

#include <algorithm>

#include "framework/window/Wnd.h"

namespace {
void Erase(std::vector<CWindowRecord*>& list, CWindowRecord* pRec) {
    list.erase(std::remove(list.begin(), list.end(), pRec), list.end());
}

// Keeps the message stack right even when a handler throws (the program's archive errors may
// pass through the framework).
class CCurrentMessageScope {
public:
    CCurrentMessageScope(UINT message, WPARAM wParam, LPARAM lParam)
        : m_stack(CWindowManager::Get().m_current) {
        m_stack.push_back({message, wParam, lParam});
    }
    ~CCurrentMessageScope() { m_stack.pop_back(); }

private:
    std::vector<CWindowManager::CURRENT_MESSAGE>& m_stack;
};
} // namespace

CWindowManager& CWindowManager::Get() {
    static CWindowManager s_manager;
    return s_manager;
}

CWindowRecord* CWindowManager::Find(HWND hWnd) const {
    if (!hWnd)
        return nullptr;
    auto it = m_records.find(hWnd);
    return it == m_records.end() ? nullptr : it->second.get();
}

CWindowRecord* CWindowManager::Create(CWnd* pWnd) {
    auto pRec = std::make_unique<CWindowRecord>();
    pRec->hWnd = reinterpret_cast<HWND>(m_nNextHandle);
    m_nNextHandle += 4;
    pRec->pWnd = pWnd;
    CWindowRecord* pRaw = pRec.get();
    m_records.emplace(pRaw->hWnd, std::move(pRec));
    return pRaw;
}

// Constant time in the number of children and windows: only the few top-level windows are
// searched (they alone have owners, which may be children such as a combo box).
void CWindowManager::Remove(CWindowRecord* pRec) {
    if (pRec->pParent)
        pRec->pParent->children.erase(pRec->itSibling);
    else
        Erase(m_topLevel, pRec);
    for (CWindowRecord* p : m_topLevel) {
        if (p->pOwner == pRec)
            p->pOwner = nullptr;
    }
    if (m_hCapture == pRec->hWnd)
        m_hCapture = nullptr;
    if (m_hFocus == pRec->hWnd)
        m_hFocus = nullptr;
    if (m_hActive == pRec->hWnd)
        m_hActive = nullptr;
    m_records.erase(pRec->hWnd);
}

void CWindowManager::LinkChild(CWindowRecord* pRec, CWindowRecord* pParent) {
    // The platform puts a new child at the bottom of its siblings: the first control of a
    // dialog is the topmost.
    pRec->pParent = pParent;
    pRec->itSibling = pParent->children.insert(pParent->children.end(), pRec);
}

void CWindowManager::LinkTopLevel(CWindowRecord* pRec, CWindowRecord* pOwner) {
    pRec->pOwner = pOwner;
    m_topLevel.insert(m_topLevel.begin(), pRec);
}

void CWindowManager::BringToTop(CWindowRecord* pRec) {
    if (pRec->pParent) {
        std::list<CWindowRecord*>& siblings = pRec->pParent->children;
        siblings.splice(siblings.begin(), siblings, pRec->itSibling);
        return;
    }
    Erase(m_topLevel, pRec);
    m_topLevel.insert(m_topLevel.begin(), pRec);
    // Pop-ups stay above their owner: raise the windows it owns along with it.
    std::vector<CWindowRecord*> owned;
    for (CWindowRecord* p : m_topLevel) {
        // A pop-up owned by a child (a combo's list) belongs to the child's top-level window.
        if (p != pRec && p->pOwner && p->pOwner->TopLevel() == pRec)
            owned.push_back(p);
    }
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        BringToTop(*it);
}

std::vector<CWindowRecord*> CWindowManager::PaintOrder(bool bVisibleOnly) const {
    std::vector<CWindowRecord*> order;
    order.reserve(m_records.size());
    for (auto it = m_topLevel.rbegin(); it != m_topLevel.rend(); ++it) {
        AppendPaintOrder(*it, bVisibleOnly, order);
    }
    return order;
}

void CWindowManager::AppendPaintOrder(CWindowRecord* pRec, bool bVisibleOnly,
                                      std::vector<CWindowRecord*>& order) const {
    if (bVisibleOnly && !pRec->HasStyle(WS_VISIBLE))
        return;
    order.push_back(pRec);
    for (auto it = pRec->children.rbegin(); it != pRec->children.rend(); ++it) {
        AppendPaintOrder(*it, bVisibleOnly, order);
    }
}

LRESULT AfxCallWindowProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CCurrentMessageScope scope(message, wParam, lParam);
    return pWnd->WindowProc(message, wParam, lParam);
}
