#include <gtest/gtest.h>

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
