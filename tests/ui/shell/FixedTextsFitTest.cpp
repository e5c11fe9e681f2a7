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

    // Buttons and tabs: the caption goes inside the one-pixel frame.
    for (int nID : {ID_PREVIOUS, ID_NEXT, ID_EXIT, ID_ABOUT, ID_SHOW_IMAGE, ID_SHOW_DETAILS,
                    ID_SHOW_THUMBNAILS}) {
        CWnd& button = run.Control(nID);
        CString strCaption;
        button.GetWindowText(strCaption);
        CRect face = ClientOf(button);
        face.DeflateRect(1, 1);
        ExpectFits(button, strCaption, face);
    }
    // The "-" is drawn in a font taller than its button on purpose: only its width counts.
    CWnd& minimize = run.Control(ID_MINIMIZE);
    CRect minimizeFace = ClientOf(minimize);
    minimizeFace.DeflateRect(1, 1);
    ExpectFits(minimize, "-", minimizeFace, false);

    // The paging links, with every count the next link can show.
    CThumbnailsPage& page = run.Thumbnails();
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
        CWnd* pLabel = run.Child("CCommentsPage").GetDlgItem(nID);
        ASSERT_NE(pLabel, nullptr);
        pLabel->GetWindowText(strText);
        ExpectFits(*pLabel, strText, ClientOf(*pLabel));
    }

    // The list's fixed rows, beside its drop-down button.
    for (UINT nString : {IDS_COMMENTS, IDS_THUMBNAILS}) {
        strText.LoadString(nString);
        CRect row = ClientOf(run.List());
        row.right -= row.Height();
        ExpectFits(run.List(), strText, row);
    }
}
