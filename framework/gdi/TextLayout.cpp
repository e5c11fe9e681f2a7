#include "framework/gdi/TextLayout.h"

#include <algorithm>

namespace {

const uint32_t kReplacement = 0xFFFD;

// One character from UTF-8 at `p`; an invalid or cut-off sequence yields U+FFFD for its first
// byte, so that damaged text still shows and never reads past `end`.
uint32_t NextCodepoint(const unsigned char*& p, const unsigned char* end) {
    const unsigned lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = 0;
    uint32_t cp = 0, min = 0;
    if ((lead & 0xE0) == 0xC0)
        extra = 1, cp = lead & 0x1F, min = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        extra = 2, cp = lead & 0x0F, min = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        extra = 3, cp = lead & 0x07, min = 0x10000;
    else
        return kReplacement;
    if (end - p < extra)
        return kReplacement;
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return kReplacement;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kReplacement;
    p += extra;
    return cp;
}

// Fills the part of (l, t, r, b) inside `clip`; the coordinates may lie anywhere.
void FillClipped(const CSurface& surface, const CRect& clip, int64_t l, int64_t t, int64_t r,
                 int64_t b, uint32_t pixel) {
    const int left = (int)std::max<int64_t>(l, clip.left);
    const int top = (int)std::max<int64_t>(t, clip.top);
    const int right = (int)std::min<int64_t>(r, clip.right);
    const int bottom = (int)std::min<int64_t>(b, clip.bottom);
    for (int y = top; y < bottom; ++y)
        std::fill(surface.Row(y) + left, surface.Row(y) + std::max(left, right), pixel);
}

bool IsSpace(uint32_t codepoint) {
    return codepoint == ' ';
}

} // namespace

CTextLayout::CTextLayout(CFontFace& face, const char* text, int nLength, const RECT& rect,
                         UINT nFormat)
    : m_face(face), m_nLength(nLength > 0 ? nLength : 0), m_rect(rect), m_nFormat(nFormat),
      m_nLineHeight(face.GetHeight()) {
    if (text && nLength > 0)
        ReadCells(text, nLength);
    if (!m_cells.empty())
        BreakLines();
}

void CTextLayout::ReadCells(const char* text, int nLength) {
    const bool bPrefix = !(m_nFormat & DT_NOPREFIX);
    const bool bSingle = (m_nFormat & DT_SINGLELINE) != 0;
    const unsigned char* begin = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* p = begin;
    const unsigned char* end = p + nLength;
    m_cells.reserve((size_t)nLength);
    bool bMnemonicNext = false;
    int nStart = 0;
    while (p < end) {
        if (!bMnemonicNext)
            nStart = (int)(p - begin);
        if (!bSingle && (*p == '\r' || *p == '\n')) {
            // "\r\n", "\r" and "\n" each end a line.
            const bool bPair = *p == '\r' && p + 1 < end && p[1] == '\n';
            p += bPair ? 2 : 1;
            m_cells.push_back(CCell{'\n', 0, false, nStart});
            continue;
        }
        if (bPrefix && *p == '&') {
            ++p;
            if (p == end)
                break;
            if (*p != '&') {
                bMnemonicNext = true;
                continue;
            }
        }
        const uint32_t cp = NextCodepoint(p, end);
        const int advance = cp == '\t' ? TabWidth() : m_face.GetAdvance(cp);
        m_cells.push_back(CCell{cp, advance, bMnemonicNext, nStart});
        bMnemonicNext = false;
    }
}

int CTextLayout::TabWidth() const {
    return (m_nFormat & DT_EXPANDTABS) ? 8 * m_face.GetMetrics().tmAveCharWidth : 0;
}

void CTextLayout::BreakLines() {
    const int count = (int)m_cells.size();
    if (m_nFormat & DT_SINGLELINE) {
        int width = 0;
        for (const CCell& cell : m_cells)
            width += cell.nAdvance;
        AddLine(0, count, width);
        return;
    }
    for (int first = 0;;) {
        int end = first;
        while (end < count && m_cells[end].codepoint != '\n')
            ++end;
        WrapParagraph(first, end);
        first = end + 1;
        // A break at the very end of the text opens no further line.
        if (first >= count)
            break;
    }
}

void CTextLayout::WrapParagraph(int nFirst, int nEnd) {
    const bool bWrap = (m_nFormat & DT_WORDBREAK) != 0;
    const int64_t limit = std::max<int64_t>(0, (int64_t)m_rect.right - m_rect.left);
    int lineStart = nFirst;
    int64_t x = 0;
    int spaceStart = -1, afterSpaces = -1; // the last break opportunity on this line
    int64_t widthBeforeSpaces = 0;
    bool bHasWord = false;
    int i = nFirst;
    while (i < nEnd) {
        if (IsSpace(m_cells[i].codepoint)) {
            if (bHasWord)
                spaceStart = i, widthBeforeSpaces = x;
            while (i < nEnd && IsSpace(m_cells[i].codepoint))
                x += m_cells[i++].nAdvance;
            if (bHasWord)
                afterSpaces = i;
            continue;
        }
        int wordEnd = i;
        int64_t wordWidth = 0;
        while (wordEnd < nEnd && !IsSpace(m_cells[wordEnd].codepoint))
            wordWidth += m_cells[wordEnd++].nAdvance;
        if (bWrap && x + wordWidth > limit && spaceStart >= 0) {
            // The word goes to the next line; the spaces before it vanish with the break.
            AddLine(lineStart, spaceStart, (int)widthBeforeSpaces);
            lineStart = afterSpaces;
            x = 0;
            spaceStart = afterSpaces = -1;
            bHasWord = false;
            i = lineStart;
            continue;
        }
        x += wordWidth;
        bHasWord = true;
        i = wordEnd;
    }
    AddLine(lineStart, nEnd, (int)std::min<int64_t>(x, INT32_MAX));
}

void CTextLayout::AddLine(int nFirst, int nEnd, int nWidth) {
    m_lines.push_back(CLine{nFirst, nEnd, nWidth});
    m_nWidth = std::max(m_nWidth, nWidth);
}

int CTextLayout::GetResultHeight() const {
    if (m_lines.empty())
        return m_nLineHeight;
    const int64_t height = (int64_t)m_lines.size() * m_nLineHeight;
    if ((m_nFormat & DT_SINGLELINE) && !(m_nFormat & DT_CALCRECT))
        return (int)(FirstBaselineTop() - m_rect.top + height);
    return (int)std::min<int64_t>(height, INT32_MAX);
}

CRect CTextLayout::GetCalcRect() const {
    int height = (int)std::min<int64_t>((int64_t)m_lines.size() * m_nLineHeight, INT32_MAX);
    // An empty text still takes one line's height when it is a single line.
    if (m_lines.empty() && (m_nFormat & DT_SINGLELINE))
        height = m_nLineHeight;
    const auto clamp = [](int64_t v) { return (int)std::min<int64_t>(v, INT32_MAX); };
    return CRect(m_rect.left, m_rect.top, clamp((int64_t)m_rect.left + m_nWidth),
                 clamp((int64_t)m_rect.top + height));
}

int64_t CTextLayout::FirstBaselineTop() const {
    // Vertical placement applies to a single line only; other text starts at the top.
    if (!(m_nFormat & DT_SINGLELINE))
        return m_rect.top;
    if (m_nFormat & DT_VCENTER)
        return m_rect.top + ((int64_t)m_rect.bottom - m_rect.top - m_nLineHeight) / 2;
    if (m_nFormat & DT_BOTTOM)
        return (int64_t)m_rect.bottom - m_nLineHeight;
    return m_rect.top;
}

int64_t CTextLayout::LineLeft(const CLine& line) const {
    if (m_nFormat & DT_CENTER)
        return m_rect.left + ((int64_t)m_rect.right - m_rect.left - line.nWidth) / 2;
    if (m_nFormat & DT_RIGHT)
        return (int64_t)m_rect.right - line.nWidth;
    return m_rect.left;
}

// A cell's advance in the face that draws it: the layout's own, or the same font at a scale,
// whose advances are its own whole pixels.
int CTextLayout::Advance(const CCell& cell, CFontFace& face, bool bOwnFace) const {
    if (bOwnFace)
        return cell.nAdvance;
    if (cell.codepoint == '\t')
        return (m_nFormat & DT_EXPANDTABS) ? 8 * face.GetMetrics().tmAveCharWidth : 0;
    return face.GetAdvance(cell.codepoint);
}

void CTextLayout::Draw(const CSurface& surface, const CRect& clip, CFontFace& face,
                       const CDeviceScale& scale, uint32_t textPixel,
                       const uint32_t* pOpaquePixel) const {
    CRect area = clip;
    if (!(m_nFormat & DT_NOCLIP) && !area.IntersectRect(clip, scale.ToDevice(m_rect)))
        return;
    if (area.IsRectEmpty() || !surface.IsValid())
        return;
    int64_t top = FirstBaselineTop();
    for (const CLine& line : m_lines) {
        // Each line covers the device pixels of its place in the layout.
        const int64_t left = LineLeft(line);
        const LINE_SPAN span{scale.ToDevice(left), scale.ToDevice(left + line.nWidth),
                             scale.ToDevice(top), scale.ToDevice(top + m_nLineHeight)};
        if (span.top >= area.bottom)
            break;
        if (span.bottom > area.top) {
            if (pOpaquePixel)
                FillClipped(surface, area, span.left, span.top, span.right, span.bottom,
                            *pOpaquePixel);
            DrawLine(surface, area, line, face, scale.IsIdentity(), span, textPixel);
        }
        top += m_nLineHeight;
    }
}

void CTextLayout::DrawLine(const CSurface& surface, const CRect& clip, const CLine& line,
                           CFontFace& face, bool bOwnFace, const LINE_SPAN& span,
                           uint32_t textPixel) const {
    const int64_t baseline = span.top + face.GetAscent();
    const int64_t underTop = baseline + face.GetUnderlineOffset();
    const int64_t underBottom = underTop + face.GetUnderlineThickness();
    // A scaled face keeps its own advances, placed in the span as the line is aligned; a line
    // that would outgrow the span is pressed evenly into it, so it ends where the layout ends it.
    int64_t faceWidth = 0;
    for (int i = line.nFirst; i < line.nEnd; ++i)
        faceWidth += Advance(m_cells[i], face, bOwnFace);
    const int64_t spanWidth = span.right - span.left;
    const int64_t room = spanWidth - faceWidth;
    const int64_t offset = room < 0                  ? 0
                           : (m_nFormat & DT_CENTER) ? room / 2
                           : (m_nFormat & DT_RIGHT)  ? room
                                                     : 0;
    const auto place = [&](int64_t pen) {
        return room >= 0 ? span.left + offset + pen
                         : span.left + (pen * spanWidth + faceWidth / 2) / faceWidth;
    };
    if (face.IsUnderlined())
        FillClipped(surface, clip, place(0), underTop, place(faceWidth), underBottom, textPixel);
    // Glyphs may reach past their advance by some pixels; a line's height bounds that.
    const int64_t margin = (int64_t)face.GetHeight() * 2;
    int64_t pen = 0;
    for (int i = line.nFirst; i < line.nEnd; ++i) {
        const CCell& cell = m_cells[i];
        const int64_t x = place(pen), next = place(pen + Advance(cell, face, bOwnFace));
        if (x > clip.right + margin)
            break;
        if (next + margin >= clip.left) {
            face.DrawGlyph(surface, clip, (int)x, (int)baseline, cell.codepoint, textPixel);
            if (cell.bMnemonic)
                FillClipped(surface, clip, x, underTop, next, underBottom, textPixel);
        }
        pen += Advance(cell, face, bOwnFace);
    }
}

void CTextLayout::GetLineBytes(std::vector<TEXT_LINE>& lines) const {
    lines.clear();
    lines.reserve(m_lines.size());
    const auto byteAt = [this](int nCell) {
        return nCell < (int)m_cells.size() ? m_cells[(size_t)nCell].nByte : m_nLength;
    };
    for (const CLine& line : m_lines) {
        const int first = byteAt(line.nFirst);
        lines.push_back(TEXT_LINE{first, line.nEnd > line.nFirst ? byteAt(line.nEnd) - first : 0});
    }
}

int CTextLayout::MeasureLine(CFontFace& face, const char* text, int nLength) {
    if (!text || nLength <= 0)
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + nLength;
    int64_t width = 0;
    while (p < end)
        width += face.GetAdvance(NextCodepoint(p, end));
    return (int)std::min<int64_t>(width, INT32_MAX);
}
