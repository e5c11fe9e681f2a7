#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsFixture.h"
#include "controls/XWrappingStatic.h"
#include "framework/gdi/DC.h"

namespace {

const COLORREF BACK = RGB(0, 0, 0);
const COLORREF TEXT = RGB(204, 204, 204);
const int MARGINS = 10;

// Exposes the field's font for the checks of its weight and height.
class CFieldProbe : public XWrappingStatic {
public:
    CFont& Font() { return m_font; }
};

class XWrappingStaticTest : public ControlsTest {
protected:
    void MakeField(CFieldProbe& field, const char* lpszText, BOOL bBold = FALSE) {
        ASSERT_TRUE(field.Create(&m_host, bBold));
        field.SetText(lpszText);
        field.SetBackColor(BACK);
        field.SetTextColor(TEXT);
    }
    void Place(CWnd& field, const CRect& rc) {
        field.MoveWindow(rc.left, rc.top, rc.Width(), rc.Height());
        Pump();
    }
    // The height of one line of the field's font.
    int LineHeight(CFieldProbe& field) {
        CDC* pDC = field.GetDC();
        CFont* pOld = pDC->SelectObject(&field.Font());
        TEXTMETRIC tm = {};
        pDC->GetTextMetrics(&tm);
        pDC->SelectObject(pOld);
        field.ReleaseDC(pDC);
        return tm.tmHeight;
    }
    int TextWidth(CFieldProbe& field, const char* lpszText) {
        CDC* pDC = field.GetDC();
        CFont* pOld = pDC->SelectObject(&field.Font());
        const int nWidth = pDC->GetTextExtent(CString(lpszText)).cx;
        pDC->SelectObject(pOld);
        field.ReleaseDC(pDC);
        return nWidth;
    }
};

TEST_F(XWrappingStaticTest, WrappedHeightCountsTheLinesAndTheMargins) {
    CFieldProbe field;
    MakeField(field, "");
    const int L = LineHeight(field);
    ASSERT_GT(L, 10);
    const int nWord = TextWidth(field, "wrapping");
    const int nTwoWords = TextWidth(field, "wrapping wrapping");
    const struct {
        const char* lpszText;
        int nWidth;
        int nLines;
    } cases[] = {
        {"wrapping", nWord + MARGINS, 1},
        {"wrapping wrapping", nTwoWords + MARGINS, 1},
        {"wrapping wrapping", nTwoWords + MARGINS - 1, 2},
        {"wrapping wrapping wrapping", nWord + MARGINS, 3},
        {"first\nsecond", 300, 2},
        // A word wider than the field is not broken.
        {"wrappingwrappingwrapping", 40, 1},
    };
    for (const auto& c : cases) {
        field.SetText(c.lpszText);
        EXPECT_EQ(MARGINS + c.nLines * L, field.GetWrappedHeight(c.nWidth))
            << c.lpszText << " at " << c.nWidth;
    }
}

TEST_F(XWrappingStaticTest, MeasuresWithMnemonicsButPaintsEveryAmpersand) {
    CFieldProbe field;
    MakeField(field, "");
    const int L = LineHeight(field);
    // With "&" taking no room the text fits one line; painted literally it needs two.
    const int nWidth = TextWidth(field, "wrapping wrapping") + MARGINS;
    field.SetText("wrapping &wrapping");
    EXPECT_EQ(MARGINS + L, field.GetWrappedHeight(nWidth));

    const CRect rc(10, 10, 10 + nWidth, 10 + MARGINS + 3 * L);
    Place(field, rc);
    const CRect rcSecondLine(rc.left, rc.top + 5 + L, rc.right, rc.top + 5 + 2 * L);
    EXPECT_GT(CountOther(rcSecondLine, BACK), 0) << "the painted text wraps";
}

TEST_F(XWrappingStaticTest, PaintsTheTextInsideTheMargins) {
    CFieldProbe field;
    MakeField(field, "wrappingwrappingwrappingwrapping and more words");
    const CRect rc(10, 10, 110, 80);
    Place(field, rc);
    const CRect rcText(rc.left + 5, rc.top + 5, rc.right - 5, rc.bottom - 5);
    const CRect rcInk = InkBounds(rc, BACK);
    ASSERT_FALSE(rcInk.IsRectEmpty());
    EXPECT_GE(rcInk.left, rcText.left);
    EXPECT_GE(rcInk.top, rcText.top);
    // The long word is cut at the right edge of the text rectangle.
    EXPECT_EQ(rcText.right, rcInk.right);
    EXPECT_LE(rcInk.bottom, rcText.bottom);
    EXPECT_LT(rcInk.left - rcText.left, 3) << "starts at the top left";
    EXPECT_LT(rcInk.top - rcText.top, 6);
    EXPECT_GT(rcInk.Width() * rcInk.Height(), CountOther(rcInk, TEXT));
}

TEST_F(XWrappingStaticTest, ShowsOnlyTheBackgroundWhenThereIsNoTextOrNoRoom) {
    const struct {
        const char* lpszText;
        CRect rc;
    } cases[] = {
        {"", CRect(10, 10, 110, 60)},
        {"wrapping", CRect(120, 10, 129, 60)}, // narrower than the two margins
        {"wrapping", CRect(140, 10, 240, 19)}, // lower than the two margins
    };
    CFieldProbe fields[3];
    for (int i = 0; i < 3; ++i) {
        MakeField(fields[i], cases[i].lpszText);
        fields[i].SetBackColor(RGB(0, 0, 120));
        Place(fields[i], cases[i].rc);
    }
    for (const auto& c : cases)
        EXPECT_EQ(0, CountOther(c.rc, RGB(0, 0, 120))) << c.rc.left;
}

TEST_F(XWrappingStaticTest, SettersWaitForTheNextPaint) {
    CFieldProbe field;
    MakeField(field, "");
    const CRect rc(10, 10, 110, 60);
    Place(field, rc);
    field.SetBackColor(RGB(0, 90, 0));
    field.SetText("wrapping");
    Pump();
    EXPECT_EQ(0, CountOther(rc, BACK));
    field.Invalidate();
    Pump();
    EXPECT_EQ(RGB(0, 90, 0), Pixel(rc.left, rc.top));
    EXPECT_GT(CountOther(rc, RGB(0, 90, 0)), 0);
}

TEST_F(XWrappingStaticTest, OnlyBoldFlagOneMakesTheFontBold) {
    LOGFONT lfSystem = {};
    SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &lfSystem, 0);
    const struct {
        BOOL bBold;
        LONG lWeight;
    } cases[] = {{1, 700}, {0, lfSystem.lfWeight}, {2, lfSystem.lfWeight}, {-1, lfSystem.lfWeight}};
    for (const auto& c : cases) {
        CFieldProbe field;
        MakeField(field, "", c.bBold);
        LOGFONT lf = {};
        ASSERT_TRUE(field.Font().GetLogFont(&lf));
        EXPECT_EQ(c.lWeight, lf.lfWeight) << c.bBold;
        EXPECT_EQ(14, lf.lfHeight);
        EXPECT_STREQ(lfSystem.lfFaceName, lf.lfFaceName);
        EXPECT_EQ(field.Font().GetSafeHandle(), field.GetFont()->GetSafeHandle());
    }
}

TEST_F(XWrappingStaticTest, RightButtonDownNotifiesTheParentFirst) {
    CFieldProbe field;
    MakeField(field, "wrapping");
    Place(field, CRect(10, 10, 110, 60));
    m_pBackend->QueueButtonDown(20, 20, 3);
    Pump();
    ASSERT_EQ(1u, m_log.size());
    EXPECT_EQ((UINT)WM_NOTIFY, m_log[0].message);
    EXPECT_EQ(0u, m_log[0].wParam);
    EXPECT_EQ(field.GetSafeHwnd(), m_log[0].nmhdr.hwndFrom);
    EXPECT_EQ(0u, m_log[0].nmhdr.idFrom);
    EXPECT_EQ(NM_RCLICK, m_log[0].nmhdr.code);
    m_pBackend->QueueButtonUp(20, 20, 3);
    m_pBackend->QueueClick(20, 20, 1);
    Pump();
    EXPECT_EQ(1u, m_log.size()) << "only the right button down is reported";
}

TEST_F(XWrappingStaticTest, DestroyReleasesTheBrushAndTheFont) {
    CFieldProbe field;
    MakeField(field, "wrapping");
    ASSERT_NE(nullptr, field.Font().GetSafeHandle());
    field.DestroyWindow();
    EXPECT_EQ(nullptr, field.Font().GetSafeHandle());
    // Measuring without a window still answers.
    EXPECT_GE(field.GetWrappedHeight(100), MARGINS);
}

TEST_F(XWrappingStaticTest, FieldWithoutAParentSendsNothing) {
    CFieldProbe field;
    const BOOL bCreated = field.Create(nullptr, TRUE);
    if (!bCreated) {
        EXPECT_EQ(nullptr, field.Font().GetSafeHandle()) << "no window, no font";
        return;
    }
    field.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_TRUE(m_log.empty());
}

} // namespace

namespace {

// A text of nLines lines, empty but for the ones marked: each of those is its own number of
// "M"s, so that a line painted in the wrong place shows a different width.
std::string MarkedLines(int nLines, const std::vector<int>& marked) {
    std::string text;
    for (int i = 0; i < nLines; ++i) {
        for (size_t k = 0; k < marked.size(); ++k)
            if (marked[k] == i)
                text += std::string(k + 2, 'M');
        if (i + 1 < nLines)
            text += '\n';
    }
    return text;
}

} // namespace

TEST_F(XWrappingStaticTest, PaintsLinesFarDownALongTextWhereTheyBelong) {
    CFieldProbe field;
    const int nLines = 8000;
    // Far past 65,535 pixels, and the very last line.
    const std::vector<int> marked = {6000, 6002, nLines - 1};
    const std::string text = MarkedLines(nLines, marked);
    MakeField(field, text.c_str());
    const int L = LineHeight(field);
    const int nHeight = field.GetWrappedHeight(200);
    ASSERT_EQ(MARGINS + nLines * L, nHeight);
    ASSERT_GT(5 + 6000 * L, 65535);

    const int yScreen = 100; // where the first marked line's top is brought on the screen
    Place(field, CRect(0, yScreen - (5 + 6000 * L), 200, yScreen - (5 + 6000 * L) + nHeight));
    const CRect rcFirst = InkBounds(CRect(0, yScreen, 200, yScreen + L), BACK);
    const CRect rcSecond = InkBounds(CRect(0, yScreen + 2 * L, 200, yScreen + 3 * L), BACK);
    ASSERT_FALSE(rcFirst.IsRectEmpty()) << "line 6000 shows";
    ASSERT_FALSE(rcSecond.IsRectEmpty()) << "line 6002 shows";
    EXPECT_NEAR(TextWidth(field, "MM"), rcFirst.Width(), 2);
    EXPECT_GT(rcSecond.Width(), rcFirst.Width()) << "three Ms below two";
    EXPECT_EQ(0, CountOther(CRect(0, yScreen - 2 * L, 200, yScreen), BACK)) << "nothing above";
    EXPECT_EQ(0, CountOther(CRect(0, yScreen + L, 200, yScreen + 2 * L), BACK)) << "an empty line";

    // The last line, at the bottom of the screen.
    const int yBottom = 250;
    Place(field, CRect(0, yBottom + 5 - nHeight, 200, yBottom + 5));
    const CRect rcLast = InkBounds(CRect(0, yBottom - L, 200, yBottom), BACK);
    ASSERT_FALSE(rcLast.IsRectEmpty()) << "the last line shows";
    EXPECT_GT(rcLast.Width(), rcSecond.Width());
    EXPECT_EQ(0, CountOther(CRect(0, yBottom - 3 * L, 200, yBottom - L), BACK));
}

TEST_F(XWrappingStaticTest, ALineAtATimeShowsWhatTheWholeTextShows) {
    // Wrapped, with explicit breaks, an ampersand and runs of spaces at the wrap points.
    const char* lpszText =
        "bronze coin of the late empire,   struck at Antioch; very fine & toned\r\n"
        "\nedge wrappingwrappingwrappingwrapping and more\rafter a lone return\n";
    CFieldProbe field;
    MakeField(field, lpszText);
    const CRect rc(10, 10, 130, 10 + field.GetWrappedHeight(120));
    Place(field, rc);

    // The same text drawn whole by the context, as fields were painted before.
    CBitmap whole;
    CDC* pScreen = field.GetDC();
    CDC dc;
    dc.CreateCompatibleDC(pScreen);
    ASSERT_TRUE(whole.CreateCompatibleBitmap(pScreen, rc.Width(), rc.Height()));
    field.ReleaseDC(pScreen);
    CBitmap* pOld = dc.SelectObject(&whole);
    dc.FillSolidRect(CRect(0, 0, rc.Width(), rc.Height()), BACK);
    dc.SelectObject(&field.Font());
    dc.SetTextColor(TEXT);
    dc.SetBkMode(TRANSPARENT);
    CRect rcText(5, 5, rc.Width() - 5, rc.Height() - 5);
    dc.DrawText(lpszText, -1, rcText, DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX);
    int nInk = 0;
    for (int y = 0; y < rc.Height(); ++y) {
        for (int x = 0; x < rc.Width(); ++x) {
            const COLORREF cr = dc.GetPixel(x, y);
            nInk += cr != BACK ? 1 : 0;
            ASSERT_EQ(cr, Pixel(rc.left + x, rc.top + y)) << x << ", " << y;
        }
    }
    EXPECT_GT(nInk, 200);
    dc.SelectObject(pOld);
}
