// The Comments view: who made the collection, when, and its comments in a scrolling panel,
// all taken from the first item record, which the page keeps for its whole life. A copy
// branded for a partner also shows the partner's logo, which opens the partner's address.
#pragma once

#include "branding/LinkStatic.h"
#include "controls/XScrollPanel.h"
#include "controls/XWrappingStatic.h"
#include "data/CollectionItem.h"
#include "framework/window/Dialog.h"
#include "framework/window/Static.h"

class CCommentsPage : public CDialog {
public:
    explicit CCommentsPage(CWnd* pParent = nullptr);
    ~CCommentsPage() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnInitDialog() override;

    XScrollPanel& GetCommentsPanel() { return m_commentsPanel; }
    // The logo link's window exists only in a partner-branded copy.
    CLinkStatic& GetLogoLink() { return m_logoLink; }
    XWrappingStatic& GetCommentsText() { return m_commentsText; }

    CString m_strTitle;

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnPaint() override;

private:
    void ShowRecordValues();
    void LayoutComments();
    void ShowPartnerLogo();

    XScrollPanel m_commentsPanel;
    CBrush m_brBack;
    CFont m_fontValue;
    CCollectionItem* m_pFirstItem = nullptr;
    CBitmap m_bmpLogo;
    CLinkStatic m_logoLink;
    CStatic m_innerFrame;
    XWrappingStatic m_commentsText;
    CStatic m_outerFrame;
};
