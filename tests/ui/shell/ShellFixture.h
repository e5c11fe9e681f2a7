// The main window on an in-memory screen, opened on a collection that the test wrote, driven
// by commands, list picks and scripted clicks.
#pragma once

#include <memory>

#include "framework/system/ModulePath.h"
#include "framework/window/MessageLoop.h"
#include "pages/page_fixture.h"
#include "res/ProgramResources.h"
#include "res/ResourceIds.h"
#include "shell/ViewerDlg.h"

class CViewerHarness {
public:
    CViewerHarness(int nWidth, int nHeight, const std::string& path)
        : m_backend(nWidth, nHeight) {
        AfxSetBackend(&m_backend);
        RegisterProgramResources();
        AfxSetModulePath(path.c_str());
        m_pDlg = std::make_unique<CViewerDlg>();
        m_bCreated = m_pDlg->Create(IDD_VIEWER, nullptr);
        if (m_bCreated) m_pDlg->ShowWindow(SW_SHOW);
        AfxPumpUntilIdle();
    }
    ~CViewerHarness() {
        if (m_pDlg->GetSafeHwnd() != nullptr) m_pDlg->DestroyWindow();
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
        m_pDlg->m_itemList.SetCurSel(nRow);
        m_pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(ID_ITEM_LIST, CBN_SELCHANGE),
                            (LPARAM)m_pDlg->m_itemList.GetSafeHwnd());
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

    // Which view shows: 'C'omments, 'T'humbnails, 'I'mage, 'D'etails, or '?'.
    char View() {
        CViewerDlg& d = *m_pDlg;
        if (d.m_pCurrentView == &d.m_commentsPage && d.m_commentsPage.IsWindowVisible()) return 'C';
        if (d.m_pCurrentView == &d.m_thumbnailsPage && d.m_thumbnailsPage.IsWindowVisible()) return 'T';
        if (d.m_pCurrentView == &d.m_imageCell && d.m_imageCell.IsWindowVisible()) return 'I';
        if (d.m_pCurrentView == &d.m_detailsPanel && d.m_detailsPanel.IsWindowVisible()) return 'D';
        return '?';
    }
    // The item index of the first thumbnail shown, or −1.
    int FirstThumbnail() {
        CThumbnailCell* pCell = m_pDlg->m_thumbnailsPage.GetCell(0);
        return pCell->IsWindowVisible() ? pCell->m_nItemIndex : -1;
    }

    BOOL m_bCreated = FALSE;

private:
    CHeadlessBackend m_backend;
    std::unique_ptr<CViewerDlg> m_pDlg;
};

inline CRect WindowRectOf(CWnd& wnd) {
    CRect rc;
    wnd.GetWindowRect(&rc);
    return rc;
}
