// DrawText's layout on one surface: the text is cut into lines (explicit line breaks, word
// wrapping at spaces), placed in a rectangle by the DT_ alignment flags, and painted clipped.
// With prefix processing on (no DT_NOPREFIX) an "&" is hidden and underlines the character after
// it, and "&&" shows one "&". A word longer than the wrapping width keeps its line and is cut
// by the clip, not broken. With DT_EXPANDTABS a tab is as wide as eight average characters
// (not aligned to tab stops); without it, a tab and every other control character take no room.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/gdi/DeviceScale.h"
#include "framework/gdi/FontFace.h"

class CTextLayout {
public:
    // Lays out `nLength` bytes of UTF-8 `text` for `rect` and `nFormat` (DT_ flags).
    CTextLayout(CFontFace& face, const char* text, int nLength, const RECT& rect, UINT nFormat);

    int GetLineCount() const { return (int)m_lines.size(); }
    // The width of the widest line.
    int GetWidth() const { return m_nWidth; }
    int GetLineHeight() const { return m_nLineHeight; }
    // DrawText's result: the height of the text, or with a single line placed by DT_VCENTER
    // or DT_BOTTOM, the distance from the rectangle's top to the text's bottom.
    int GetResultHeight() const;
    // DT_CALCRECT's rectangle: the given top-left corner with the text's width and height.
    CRect GetCalcRect() const;

    // Paints the text in `textPixel` over `clip` (surface pixels, within the surface), further
    // cut to the rectangle unless DT_NOCLIP. With `pOpaquePixel`, each line's cell is filled with
    // that colour first. The layout is in layout pixels; `scale` maps each line's place to the
    // surface, where `face` (the layout's font at that scale) draws it.
    void Draw(const CSurface& surface, const CRect& clip, CFontFace& face,
              const CDeviceScale& scale, uint32_t textPixel, const uint32_t* pOpaquePixel) const;
    // Unscaled, in the layout's own face.
    void Draw(const CSurface& surface, const CRect& clip, uint32_t textPixel,
              const uint32_t* pOpaquePixel) const {
        Draw(surface, clip, m_face, CDeviceScale(), textPixel, pOpaquePixel);
    }

    // Each line as the bytes of the text it shows: [offset, offset + length), without the
    // spaces a wrap swallowed and without the line break that ended it.
    void GetLineBytes(std::vector<TEXT_LINE>& lines) const;

    // The width of one line of text as it stands (no prefixes, no line breaks).
    static int MeasureLine(CFontFace& face, const char* text, int nLength);

private:
    struct CCell {
        uint32_t codepoint;
        int nAdvance;
        bool bMnemonic; // underlined as the mnemonic character
        int nByte;      // where the character (with its "&" prefix) starts in the text
    };
    struct CLine {
        int nFirst; // cells [nFirst, nEnd)
        int nEnd;
        int nWidth;
    };

    void ReadCells(const char* text, int nLength);
    int TabWidth() const;
    void BreakLines();
    void WrapParagraph(int nFirst, int nEnd);
    void AddLine(int nFirst, int nEnd, int nWidth);
    int64_t FirstBaselineTop() const;
    // Where a line lands on the surface.
    struct LINE_SPAN {
        int64_t left, right, top, bottom;
    };
    int64_t LineLeft(const CLine& line) const;
    int Advance(const CCell& cell, CFontFace& face, bool bOwnFace) const;
    void DrawLine(const CSurface& surface, const CRect& clip, const CLine& line, CFontFace& face,
                  bool bOwnFace, const LINE_SPAN& span, uint32_t textPixel) const;

    CFontFace& m_face;
    int m_nLength = 0;
    CRect m_rect;
    UINT m_nFormat;
    int m_nLineHeight;
    int m_nWidth = 0;
    std::vector<CCell> m_cells; // a line break is a cell of its own ('\n', no width)
    std::vector<CLine> m_lines;
};
