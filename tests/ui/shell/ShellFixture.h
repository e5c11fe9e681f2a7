// The main window on an in-memory screen, opened on a collection that the test wrote, driven
// by commands, list picks and scripted clicks.
#pragma once

#include <memory>
#include <stdexcept>

#include "framework/system/ModulePath.h"
#include "framework/window/MessageLoop.h"
#include "framework/window/WindowTree.h"
#include "pages/page_fixture.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"
#include "shell/ViewerDlg.h"

class CViewerHarness {
public:
    CViewerHarness(int nWidth, int nHeight, const std::string& path) : m_backend(nWidth, nHeight) {
        AfxSetBackend(&m_backend);
        RegisterProgramResources();
        AfxSetModulePath(path.c_str());
        m_pDlg = std::make_unique<CViewerDlg>();
        m_bCreated = m_pDlg->Create(IDD_VIEWER, nullptr);
        if (m_bCreated)
            m_pDlg->ShowWindow(SW_SHOW);
        AfxPumpUntilIdle();
    }
    ~CViewerHarness() {
        if (m_pDlg->GetSafeHwnd() != nullptr)
            m_pDlg->DestroyWindow();
        m_pDlg.reset();
        AfxSetBackend(nullptr);
    }
    CViewerHarness(const CViewerHarness&) = delete;
    CViewerHarness& operator=(const CViewerHarness&) = delete;

    CViewerDlg& Dlg() { return *m_pDlg; }
    CHeadlessBackend& Screen() { return m_backend; }

    // A click on the control with that id, as the control reports it.
    void Command(UINT nID) {
        CWnd* pControl = m_pDlg->GetDlgItem((int)nID);
        m_pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                            (LPARAM)(pControl != nullptr ? pControl->GetSafeHwnd() : nullptr));
        AfxPumpUntilIdle();
    }
    // The user picks a row of the navigation list.
    void PickRow(int nRow) {
        List().SetCurSel(nRow);
        m_pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(ID_ITEM_LIST, CBN_SELCHANGE),
                            (LPARAM)List().GetSafeHwnd());
        AfxPumpUntilIdle();
    }
    void Click(int x, int y) {
        m_backend.QueueClick(x, y);
        AfxPumpUntilIdle();
    }
    void Key(int vk, UINT keyState = 0) {
        m_backend.QueueKey(vk, keyState);
        AfxPumpUntilIdle();
    }

    // The main window's children as the window tree shows them.
    CWindowTree Tree() { return CWindowTree(m_pDlg.get()); }
    // The direct child of that class (and id, unless −1) whose rectangle is nWidth wide
    // (unless 0); the test fails at once without it.
    CWnd& Child(const char* pszClass, int nID = -1, int nWidth = 0) {
        const CWindowTree tree = Tree();
        for (const WINDOW_NODE& node : tree.Nodes())
            if (node.nDepth == 1 && node.strClass == pszClass && (nID == -1 || node.nID == nID) &&
                (nWidth == 0 || node.rcWindow.Width() == nWidth))
                return *node.pWnd;
        ADD_FAILURE() << "no " << pszClass << " " << nID << " in\n" << tree.Dump().GetString();
        throw std::runtime_error("window missing");
    }
    CWnd& Control(int nID) { return *m_pDlg->GetDlgItem(nID); }
    CListCombo& List() { return dynamic_cast<CListCombo&>(Child("CListCombo")); }
    CThumbnailsPage& Thumbnails() {
        return dynamic_cast<CThumbnailsPage&>(Child("CThumbnailsPage"));
    }
    CThumbnailCell& ImageCell() {
        return dynamic_cast<CThumbnailCell&>(Child("CThumbnailCell", -1, 800));
    }
    CThumbnailCell& DetailsCell() {
        return dynamic_cast<CThumbnailCell&>(Child("CThumbnailCell", -1, 140));
    }
    XScrollPanel& DetailsPanel() { return dynamic_cast<XScrollPanel&>(Child("XScrollPanel")); }

    // Which view shows: 'C'omments, 'T'humbnails, 'I'mage, 'D'etails, or '?'.
    char View() { return ShownView(); }
    CWnd& CurrentView() {
        switch (View()) {
        case 'C':
            return Child("CCommentsPage");
        case 'T':
            return Thumbnails();
        case 'I':
            return ImageCell();
        default:
            return DetailsPanel();
        }
    }
    // The item index of the first thumbnail shown, or −1.
    int FirstThumbnail() {
        CThumbnailCell* pCell = Thumbnails().GetCell(0);
        return pCell->IsWindowVisible() ? pCell->m_nItemIndex : -1;
    }

    BOOL m_bCreated = FALSE;

private:
    // Exactly one of the four views shows.
    char ShownView() {
        char cView = '?';
        int nShown = 0;
        if (Child("CCommentsPage").IsWindowVisible())
            cView = 'C', ++nShown;
        if (Thumbnails().IsWindowVisible())
            cView = 'T', ++nShown;
        if (ImageCell().IsWindowVisible())
            cView = 'I', ++nShown;
        if (DetailsPanel().IsWindowVisible())
            cView = 'D', ++nShown;
        return nShown == 1 ? cView : '?';
    }

    CHeadlessBackend m_backend;
    std::unique_ptr<CViewerDlg> m_pDlg;
};

inline CRect WindowRectOf(CWnd& wnd) {
    CRect rc;
    wnd.GetWindowRect(&rc);
    return rc;
}
