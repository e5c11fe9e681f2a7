// CDC's text calls: the selected font realised by the font engine, laid out and painted by
// CTextLayout on the context's surface within its clip.
#include <cstring>

#include "framework/gdi/DC.h"
#include "framework/gdi/DCState.h"
#include "framework/gdi/FontData.h"
#include "framework/gdi/FontEngine.h"
#include "framework/gdi/TextLayout.h"

namespace {

CFontFace& SelectedFace(const CDCState& state) {
    const CFontData* font = AfxGetGdiObject<CFontData>((HGDIOBJ)state.Attributes().hFont, OBJ_FONT);
    return font ? CFontEngine::Get().Realize(font->m_logFont) : CFontEngine::Get().RealizeDefault();
}

// The selected font realised at the context's scale, to draw with: text is laid out in the
// font's own size, so that it measures the same on every screen, and drawn sharp.
CFontFace& DrawingFace(const CDCState& state) {
    const CDeviceScale& scale = state.Scale();
    if (scale.IsIdentity())
        return SelectedFace(state);
    const CFontData* font = AfxGetGdiObject<CFontData>((HGDIOBJ)state.Attributes().hFont, OBJ_FONT);
    LOGFONT lf;
    if (font)
        lf = font->m_logFont;
    else
        CFontEngine::GetDefaultLogFont(lf);
    if (lf.lfHeight == 0)
        lf.lfHeight = CFontEngine::kDefaultCellHeight;
    lf.lfHeight = scale.ScaleLength(lf.lfHeight);
    lf.lfWidth = scale.ScaleLength(lf.lfWidth);
    return CFontEngine::Get().Realize(lf);
}

// Text calls take -1 for a terminated string.
int TextLength(LPCSTR text, int length) {
    if (!text)
        return 0;
    return length < 0 ? (int)std::strlen(text) : length;
}

// The layout's own face may be gone once the drawing face is realised: Draw does not use it.
void Paint(const CDCState& state, const CTextLayout& layout) {
    const DC_ATTRIBUTES& attr = state.Attributes();
    const uint32_t bk = PixelFromColor(attr.crBk);
    layout.Draw(state.Surface(), state.Clip(), DrawingFace(state), state.Scale(),
                PixelFromColor(attr.crText), attr.nBkMode == OPAQUE ? &bk : nullptr);
}

} // namespace

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, SIZE* size) {
    CDCState* state = AfxGetDCState(hdc);
    if (!state || !size || (length > 0 && !text))
        return FALSE;
    CFontFace& face = SelectedFace(*state);
    size->cx = CTextLayout::MeasureLine(face, text, TextLength(text, length));
    size->cy = face.GetHeight();
    return TRUE;
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    return TextOut(x, y, str.GetString(), str.GetLength());
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int length) {
    CDCState* state = AfxGetDCState(m_hDC);
    if (!state)
        return FALSE;
    const CPoint at = state->ToLayout(x, y);
    const CTextLayout layout(SelectedFace(*state), text, TextLength(text, length),
                             CRect(at.x, at.y, at.x, at.y),
                             DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    Paint(*state, layout);
    return TRUE;
}

CSize CDC::GetTextExtent(const CString& str) const {
    return GetTextExtent(str.GetString(), str.GetLength());
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32(m_hDC, text, length, &size);
    return CSize(size);
}

int CDC::DrawText(const CString& str, LPRECT rect, UINT format) {
    return DrawText(str.GetString(), str.GetLength(), rect, format);
}

int CDC::DrawText(LPCSTR text, int length, LPRECT rect, UINT format) {
    CDCState* state = AfxGetDCState(m_hDC);
    if (!state || !rect)
        return 0;
    CFontFace& face = SelectedFace(*state);
    length = TextLength(text, length);
    if (format & DT_CALCRECT) {
        const CTextLayout layout(face, text, length, *rect, format);
        *rect = layout.GetCalcRect();
        return layout.GetResultHeight();
    }
    const CTextLayout layout(face, text, length, state->ToLayout(*rect), format);
    Paint(*state, layout);
    return layout.GetResultHeight();
}

int CDC::GetTextLines(LPCSTR text, int length, int nWidth, UINT format,
                      std::vector<TEXT_LINE>& lines) {
    lines.clear();
    CDCState* state = AfxGetDCState(m_hDC);
    if (!state)
        return 0;
    const CTextLayout layout(SelectedFace(*state), text, TextLength(text, length),
                             CRect(0, 0, nWidth, 0), format & ~DT_CALCRECT);
    layout.GetLineBytes(lines);
    return layout.GetLineHeight();
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const {
    CDCState* state = AfxGetDCState(m_hDC);
    if (!state || !metrics)
        return FALSE;
    *metrics = SelectedFace(*state).GetMetrics();
    return TRUE;
}
