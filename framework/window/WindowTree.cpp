#include "framework/window/WindowTree.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

#include "framework/window/WindowManager.h"

CWindowTree::CWindowTree(CWnd* pRoot) {
    if (pRoot == nullptr || pRoot->GetSafeHwnd() == nullptr)
        return;
    Walk(pRoot, 0);
    // Pop-ups owned by the root, bottom to top.
    const std::vector<CWindowRecord*>& top = CWindowManager::Get().TopLevel();
    CWindowRecord* pRootRec = CWindowManager::Get().Find(pRoot->GetSafeHwnd());
    for (auto it = top.rbegin(); it != top.rend(); ++it)
        if ((*it)->pOwner == pRootRec && (*it)->pWnd != nullptr)
            Walk((*it)->pWnd, 0);
}

void CWindowTree::Walk(CWnd* pWnd, int nDepth) {
    WINDOW_NODE node{pWnd,
                     ClassOf(pWnd),
                     pWnd->GetDlgCtrlID(),
                     nDepth,
                     pWnd->IsWindowVisible(),
                     pWnd->IsWindowEnabled(),
                     CRect(),
                     CString()};
    pWnd->GetWindowRect(&node.rcWindow);
    pWnd->GetWindowText(node.strText);
    m_nodes.push_back(node);
    CWindowRecord* pRec = CWindowManager::Get().Find(pWnd->GetSafeHwnd());
    if (pRec == nullptr)
        return;
    // A new child goes to the bottom of its siblings, so the list runs in creation order.
    for (CWindowRecord* pChild : pRec->children)
        if (pChild->pWnd != nullptr)
            Walk(pChild->pWnd, nDepth + 1);
}

CString CWindowTree::ClassOf(const CWnd* pWnd) {
    const char* pszMangled = typeid(*pWnd).name();
    int nStatus = 0;
    char* pszName = abi::__cxa_demangle(pszMangled, nullptr, nullptr, &nStatus);
    CString strName = nStatus == 0 && pszName != nullptr ? pszName : pszMangled;
    std::free(pszName);
    return strName;
}

CString CWindowTree::Line(const WINDOW_NODE& node) {
    CString strLine;
    strLine.Format("%*s%s id=%d %s %s (%d,%d)-(%d,%d) \"%s\"", node.nDepth * 2, "",
                   node.strClass.GetString(), node.nID, node.bShown ? "shown" : "hidden",
                   node.bEnabled ? "enabled" : "disabled", node.rcWindow.left, node.rcWindow.top,
                   node.rcWindow.right, node.rcWindow.bottom, node.strText.GetString());
    return strLine;
}

CString CWindowTree::Dump() const {
    CString strDump;
    for (const WINDOW_NODE& node : m_nodes)
        strDump += Line(node) + "\n";
    return strDump;
}

const WINDOW_NODE* CWindowTree::Find(const char* pszClass, int nID, int nth) const {
    for (const WINDOW_NODE& node : m_nodes)
        if (node.strClass == pszClass && (nID == -1 || node.nID == nID) && nth-- == 0)
            return &node;
    return nullptr;
}

std::vector<const WINDOW_NODE*> CWindowTree::ChildrenOf(const WINDOW_NODE* pParent) const {
    std::vector<const WINDOW_NODE*> children;
    if (pParent == nullptr)
        return children;
    for (size_t i = (size_t)(pParent - m_nodes.data()) + 1;
         i < m_nodes.size() && m_nodes[i].nDepth > pParent->nDepth; ++i)
        if (m_nodes[i].nDepth == pParent->nDepth + 1)
            children.push_back(&m_nodes[i]);
    return children;
}
