// Every fixed text of the program, in the font and rectangle it is given on screen, fits on one
// line: the faces stand in for the ones the layouts were made for, and a wider one cuts words.
#include "framework/gdi/DC.h"
#include "shell/ShellFixture.h"

namespace {

CSize Extent(CWnd& wnd, const CString& text) {
    CDC* pDC = wnd.GetDC();
    CFont* pOld = pDC->SelectObject(wnd.GetFont());
    const CSize size = pDC->GetTextExtent(text);
    pDC->SelectObject(pOld);
    wnd.ReleaseDC(pDC);
    return size;
}

void ExpectFits(CWnd& wnd, const CString& text, CRect room, bool bCheckHeight = true) {
    SCOPED_TRACE(text.GetString());
    ASSERT_NE(wnd.GetFont(), nullptr);
    const CSize size = Extent(wnd, text);
    EXPECT_GT(size.cx, 0);
    EXPECT_LE(size.cx, room.Width());
    if (bCheckHeight) {
        EXPECT_LE(size.cy, room.Height());
    }
}

CRect ClientOf(CWnd& wnd) {
    CRect rc;
    wnd.GetClientRect(&rc);
    return rc;
}

} // namespace

TEST(FixedTexts, EveryFixedTextFitsItsRectangle) {
    CScopedTempDir dir;
    CViewerHarness run(800, 600, WriteItems(dir, 20, FALSE));
    ASSERT_TRUE(run.m_bCreated);
    CViewerDlg& d = run.Dlg();

    // Buttons and tabs: the caption goes inside the one-pixel frame.
    for (XWebButton* pButton : {&d.m_btnPrevious, &d.m_btnNext, &d.m_btnExit, &d.m_btnAbout,
                                &d.m_btnImage, &d.m_btnDetails, &d.m_btnThumbnails}) {
        CString strCaption;
        pButton->GetWindowText(strCaption);
        CRect face = ClientOf(*pButton);
        face.DeflateRect(1, 1);
        ExpectFits(*pButton, strCaption, face);
    }
    // The "-" is drawn in a font taller than its button on purpose: only its width counts.
    CRect minimizeFace = ClientOf(d.m_btnMinimize);
    minimizeFace.DeflateRect(1, 1);
    ExpectFits(d.m_btnMinimize, "-", minimizeFace, false);

    // The paging links, with every count the next link can show.
    CThumbnailsPage& page = d.m_thumbnailsPage;
    CString strText;
    strText.LoadString(IDS_PREVIOUS_THUMBNAILS);
    ExpectFits(page.GetPreviousLink(), strText, ClientOf(page.GetPreviousLink()));
    for (int n = 1; n <= 8; ++n) {
        CString strFormat;
        strFormat.LoadString(n == 1 ? IDS_NEXT_THUMBNAIL : IDS_NEXT_THUMBNAILS);
        strText.Format(strFormat, n);
        ExpectFits(page.GetNextLink(), strText, ClientOf(page.GetNextLink()));
    }

    // The Comments page's labels in the dialog template's font.
    for (int nID : {IDC_CREATED_BY_LABEL, IDC_DATE_CREATED_LABEL}) {
        CWnd* pLabel = d.m_commentsPage.GetDlgItem(nID);
        ASSERT_NE(pLabel, nullptr);
        pLabel->GetWindowText(strText);
        ExpectFits(*pLabel, strText, ClientOf(*pLabel));
    }

    // The list's fixed rows, beside its drop-down button.
    for (UINT nString : {IDS_COMMENTS, IDS_THUMBNAILS}) {
        strText.LoadString(nString);
        CRect row = ClientOf(d.m_itemList);
        row.right -= row.Height();
        ExpectFits(d.m_itemList, strText, row);
    }
}
