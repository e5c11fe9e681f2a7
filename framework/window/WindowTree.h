// A text picture of the window tree, for tests and benchmarks that look at a whole window
// without reaching into its members: one line per window, children indented under their parent
// in creation order, then the pop-ups the window owns.
//   CListCombo id=400 shown enabled (215,560)-(450,710) "Comments"
#pragma once

#include <vector>

#include "framework/window/Wnd.h"

struct WINDOW_NODE {
    CWnd* pWnd;
    CString strClass; // the C++ class of the window object
    int nID;
    int nDepth;  // 0 for the root and its pop-ups
    BOOL bShown; // visible on screen: itself and every parent visible
    BOOL bEnabled;
    CRect rcWindow; // screen pixels
    CString strText;
};

class CWindowTree {
public:
    explicit CWindowTree(CWnd* pRoot);

    const std::vector<WINDOW_NODE>& Nodes() const { return m_nodes; }
    CString Dump() const;
    // The nth window of that class (and id, unless −1), in dump order; null when none.
    const WINDOW_NODE* Find(const char* pszClass, int nID = -1, int nth = 0) const;
    // The children of a window, in creation order.
    std::vector<const WINDOW_NODE*> ChildrenOf(const WINDOW_NODE* pParent) const;

    static CString ClassOf(const CWnd* pWnd);
    static CString Line(const WINDOW_NODE& node);

private:
    void Walk(CWnd* pWnd, int nDepth);

    std::vector<WINDOW_NODE> m_nodes;
};
