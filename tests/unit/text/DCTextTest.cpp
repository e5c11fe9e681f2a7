#include <gtest/gtest.h>

#include <cstring>

#include "TestCanvas.h"
#include "framework/gdi/DC.h"
#include "framework/gdi/FontEngine.h"

namespace {

const uint32_t kBlue = 0x0000FF;

class TextDC {
public:
    explicit TextDC(CTestCanvas& canvas) {
        m_dc.Attach(AfxCreateSurfaceDC(const_cast<CSurface*>(&canvas.Surface()), CPoint(0, 0),
                                       canvas.Surface().Bounds()));
    }
    CDC* operator->() { return &m_dc; }
    CDC& operator*() { return m_dc; }

private:
    CDC m_dc;
};

LOGFONT FieldFont(LONG height, LONG weight = FW_NORMAL) {
    LOGFONT lf;
    SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    return lf;
}

} // namespace

TEST(DCText, FontsTravelThroughHandlesAndSelection) {
    const LOGFONT lf = FieldFont(14, FW_BOLD);
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    EXPECT_FALSE(font.CreateFontIndirect(&lf)); // one handle per wrapper
    LOGFONT back;
    ASSERT_EQ(font.GetLogFont(&back), (int)sizeof(LOGFONT));
    EXPECT_EQ(std::memcmp(&back, &lf, sizeof lf), 0);
    EXPECT_EQ(CFont::FromHandle((HFONT)font.m_hObject)->m_hObject, font.m_hObject);

    CTestCanvas canvas(100, 40, 0xFFFFFF);
    TextDC dc(canvas);
    const CSize byDefault = dc->GetTextExtent("Label");
    EXPECT_EQ(byDefault.cy, CFontEngine::kDefaultCellHeight);
    CFont* previous = dc->SelectObject(&font);
    const CSize bold = dc->GetTextExtent("Label");
    EXPECT_EQ(bold.cy, 14);
    TEXTMETRIC tm;
    ASSERT_TRUE(dc->GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, 14);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32(dc->m_hDC, "Label", 5, &size));
    EXPECT_EQ(CSize(size), bold);
    dc->SelectObject(previous);
    EXPECT_EQ(dc->GetTextExtent("Label"), byDefault);
    EXPECT_EQ(dc->GetTextExtent(""), CSize(0, CFontEngine::kDefaultCellHeight));
}

TEST(DCText, TextOutColourAndBackgroundModes) {
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0);
    const LOGFONT lf = FieldFont(14);
    CFont font;
    font.CreateFontIndirect(&lf);
    for (int mode : {TRANSPARENT, OPAQUE}) {
        SCOPED_TRACE(mode);
        CTestCanvas canvas(80, 30, kBlue);
        TextDC dc(canvas);
        dc->SelectObject(&font);
        dc->SetTextColor(red);
        dc->SetBkColor(green);
        dc->SetBkMode(mode);
        dc->SetWindowOrg(-10, -5); // logical (0, 0) lands on surface (10, 5)
        const CSize extent = dc->GetTextExtent("Wow");
        EXPECT_TRUE(dc->TextOut(0, 0, "Wow"));
        const CRect cell(10, 5, 10 + extent.cx, 5 + extent.cy);
        EXPECT_GT(canvas.Count(cell, PixelFromColor(red)), 0);
        EXPECT_EQ(canvas.Count(cell, PixelFromColor(green)) > 0, mode == OPAQUE);
        EXPECT_EQ(canvas.Count(cell, kBlue) > 0, mode == TRANSPARENT);
        EXPECT_EQ(canvas.CountNot(CRect(0, 0, 80, 5), kBlue), 0);
        EXPECT_EQ(canvas.CountNot(CRect(0, 0, 10, 30), kBlue), 0);
        EXPECT_EQ(canvas.CountNot(CRect(cell.right, 0, 80, 30), kBlue), 0);
    }
}

TEST(DCText, DrawTextMeasuresInLogicalUnitsAndClips) {
    const LOGFONT lf = FieldFont(14);
    CFont font;
    font.CreateFontIndirect(&lf);
    CTestCanvas canvas(120, 60, 0xFFFFFF);
    TextDC dc(canvas);
    dc->SelectObject(&font);
    dc->SetWindowOrg(50, 50);

    CRect measured(60, 70, 60 + 40, 70);
    const int height =
        dc->DrawText("one two three four", -1, measured, DT_CALCRECT | DT_WORDBREAK | DT_VCENTER);
    EXPECT_EQ(measured.left, 60);
    EXPECT_EQ(measured.top, 70);
    EXPECT_EQ(height, measured.Height());
    EXPECT_EQ(height % 14, 0);
    EXPECT_GE(height, 2 * 14);
    EXPECT_LE(measured.Width(), 40);

    // Painting: nothing lands outside the rectangle, nor outside the context's clip.
    dc->SetBkMode(TRANSPARENT);
    dc->IntersectClipRect(50, 50, 150, 80); // surface (0, 0)-(100, 30)
    CRect box(55, 55, 95, 150);             // surface (5, 5)-(45, 100)
    dc->DrawText("one two three four", -1, box, DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_GT(canvas.CountNot(CRect(5, 5, 45, 30), 0xFFFFFF), 0);
    EXPECT_EQ(canvas.CountNot(CRect(0, 30, 120, 60), 0xFFFFFF), 0);
    EXPECT_EQ(canvas.CountNot(CRect(45, 0, 120, 60), 0xFFFFFF), 0);
    EXPECT_EQ(canvas.CountNot(CRect(0, 0, 5, 60), 0xFFFFFF), 0);
    EXPECT_TRUE(canvas.GuardIntact());
}
