#include "framework/gdi/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The vertical extent a Windows-style cell spans, in font units: the OS/2 "win" ascent and
// descent when the font has them, else the font's own ascender and descender.
void CellExtent(FT_Face face, double& ascent, double& descent) {
    const TT_OS2* os2 = (const TT_OS2*)FT_Get_Sfnt_Table(face, FT_SFNT_OS2);
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    } else {
        ascent = face->ascender;
        descent = -face->descender;
    }
    if (ascent + descent <= 0) {
        ascent = 0.8 * face->units_per_EM;
        descent = 0.2 * face->units_per_EM;
    }
}

// src over dst with coverage `a` (0-255), each channel rounded exactly; red and blue share one
// multiply, their 16-bit lanes cannot carry into each other.
inline uint32_t Blend(uint32_t dst, uint32_t src, uint32_t a) {
    const uint32_t na = 255 - a;
    uint32_t rb = (src & 0xFF00FF) * a + (dst & 0xFF00FF) * na + 0x800080;
    uint32_t g = (src & 0x00FF00) * a + (dst & 0x00FF00) * na + 0x008000;
    rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    g = ((g + ((g >> 8) & 0x00FF00)) >> 8) & 0x00FF00;
    return rb | g;
}

} // namespace

CFontFace::CFontFace(FT_Face face, const LOGFONT& lf, bool bEmbolden, bool bSlant)
    : m_face(face), m_bEmbolden(bEmbolden), m_bSlant(bSlant), m_bUnderline(lf.lfUnderline != 0) {
    std::fill(std::begin(m_advances), std::end(m_advances), (int16_t)-1);
    ComputeMetrics(lf);
}

CFontFace::~CFontFace() {
    if (m_face)
        FT_Done_Face(m_face);
    if (m_fallback)
        FT_Done_Face(m_fallback);
}

void CFontFace::SetFallback(FT_Face face) {
    if (m_fallback)
        FT_Done_Face(m_fallback);
    m_fallback = face;
    if (!m_fallback || m_dEm <= 0)
        return;
    FT_Set_Char_Size(m_fallback, 0, (FT_F26Dot6)std::lround(m_dEm * 64), 72, 72);
    if (m_bSlant) {
        FT_Matrix shear = {0x10000, 0x3000, 0, 0x10000};
        FT_Set_Transform(m_fallback, &shear, nullptr);
    }
}

void CFontFace::ComputeMetrics(const LOGFONT& lf) {
    const int height = lf.lfHeight;
    m_tm.tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
    if (!m_face) {
        // No font at all: keep the height asked for so that layouts stay sensible.
        m_tm.tmHeight = height > 0 ? height : std::max(1, (int)std::lround(-height * 1.15));
        m_tm.tmAscent = (int)std::lround(m_tm.tmHeight * 0.8);
        m_tm.tmDescent = m_tm.tmHeight - m_tm.tmAscent;
        return;
    }
    double winAscent = 0, winDescent = 0;
    CellExtent(m_face, winAscent, winDescent);
    const double upem = m_face->units_per_EM ? m_face->units_per_EM : 2048;
    const double em = height > 0 ? height * upem / (winAscent + winDescent) : -height;
    const double scale = em / upem;
    m_tm.tmHeight =
        height > 0 ? height : std::max(1, (int)std::lround((winAscent + winDescent) * scale));
    m_tm.tmAscent = std::min(m_tm.tmHeight, (int)std::lround(winAscent * scale));
    m_tm.tmDescent = m_tm.tmHeight - m_tm.tmAscent;
    m_tm.tmInternalLeading = std::max(0, m_tm.tmHeight - (int)std::lround(em));
    const double lineGap = m_face->height - (winAscent + winDescent);
    m_tm.tmExternalLeading = std::max(0, (int)std::lround(lineGap * scale));
    m_tm.tmMaxCharWidth = (int)std::lround(m_face->max_advance_width * scale);

    m_dEm = em;
    FT_Set_Char_Size(m_face, 0, (FT_F26Dot6)std::lround(em * 64), 72, 72);
    if (m_bSlant) {
        FT_Matrix shear = {0x10000, 0x3000, 0, 0x10000};
        FT_Set_Transform(m_face, &shear, nullptr);
    }
    const TT_OS2* os2 = (const TT_OS2*)FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2);
    m_tm.tmAveCharWidth = os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0
                              ? (int)std::lround(os2->xAvgCharWidth * scale)
                              : GetAdvance('x');

    m_nUnderlineThickness = std::max(1, (int)std::lround(m_face->underline_thickness * scale));
    const int offset = std::max(1, (int)std::lround(-m_face->underline_position * scale));
    m_nUnderlineOffset = std::max(0, std::min(offset, m_tm.tmDescent - m_nUnderlineThickness));
}

int CFontFace::LookUpAdvance(uint32_t codepoint) {
    if (codepoint >= kDirectAdvances) {
        auto found = m_farAdvances.find(codepoint);
        if (found != m_farAdvances.end())
            return found->second;
    }
    const int advance = GetGlyph(codepoint).nAdvance;
    if (codepoint < kDirectAdvances) {
        m_advances[codepoint] = (int16_t)advance;
    } else {
        if (m_farAdvances.size() >= kMaxFarAdvances)
            m_farAdvances.clear();
        m_farAdvances.emplace(codepoint, advance);
    }
    return advance;
}

const CGlyph& CFontFace::GetGlyph(uint32_t codepoint) {
    if (codepoint < kDirectAdvances && m_nearGlyphs[codepoint])
        return *m_nearGlyphs[codepoint];
    auto found = m_glyphs.find(codepoint);
    if (found != m_glyphs.end())
        return *found->second;
    if (m_glyphs.size() >= kMaxCachedGlyphs) {
        m_glyphs.clear();
        std::fill(std::begin(m_nearGlyphs), std::end(m_nearGlyphs), nullptr);
    }
    auto glyph = std::make_unique<CGlyph>();
    // Control characters take no room and show nothing, as no line-break or tab handling
    // applies to them once they reach a face.
    if (m_face && codepoint >= 0x20)
        Render(codepoint, *glyph);
    const CGlyph* stored = m_glyphs.emplace(codepoint, std::move(glyph)).first->second.get();
    if (codepoint < kDirectAdvances)
        m_nearGlyphs[codepoint] = stored;
    return *stored;
}

void CFontFace::Render(uint32_t codepoint, CGlyph& glyph) {
    FT_Face face = m_face;
    FT_UInt index = FT_Get_Char_Index(m_face, codepoint);
    if (index == 0 && m_fallback) {
        const FT_UInt other = FT_Get_Char_Index(m_fallback, codepoint);
        if (other != 0) {
            face = m_fallback;
            index = other;
        }
    }
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) != 0)
        return;
    FT_GlyphSlot slot = face->glyph;
    if (m_bEmbolden)
        FT_GlyphSlot_Embolden(slot);
    glyph.nAdvance = (int)((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0)
        return;
    glyph.nLeft = slot->bitmap_left;
    glyph.nTop = slot->bitmap_top;
    glyph.nWidth = (int)bitmap.width;
    glyph.nHeight = (int)bitmap.rows;
    glyph.coverage.resize((size_t)glyph.nWidth * glyph.nHeight);
    const int stride = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    for (int y = 0; y < glyph.nHeight; ++y) {
        const int row = bitmap.pitch < 0 ? glyph.nHeight - 1 - y : y;
        std::memcpy(&glyph.coverage[(size_t)y * glyph.nWidth], bitmap.buffer + (size_t)row * stride,
                    (size_t)glyph.nWidth);
    }
    const int scale = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
    if (scale != 255) {
        for (uint8_t& c : glyph.coverage)
            c = (uint8_t)(c * 255 / scale);
    }
}

void CFontFace::DrawGlyph(const CSurface& surface, const CRect& clip, int x, int baseline,
                          uint32_t codepoint, uint32_t pixel) {
    const CGlyph& glyph = GetGlyph(codepoint);
    if (glyph.nWidth == 0)
        return;
    const CRect box(x + glyph.nLeft, baseline - glyph.nTop, x + glyph.nLeft + glyph.nWidth,
                    baseline - glyph.nTop + glyph.nHeight);
    CRect visible;
    if (!visible.IntersectRect(box, clip))
        return;
    for (int y = visible.top; y < visible.bottom; ++y) {
        const uint8_t* src =
            &glyph.coverage[(size_t)(y - box.top) * glyph.nWidth + (visible.left - box.left)];
        uint32_t* dst = surface.Row(y) + visible.left;
        for (int n = visible.Width(); n > 0; --n, ++src, ++dst) {
            const unsigned a = *src;
            if (a == 255) {
                *dst = pixel;
            } else if (a != 0) {
                *dst = Blend(*dst, pixel, a);
            }
        }
    }
}
