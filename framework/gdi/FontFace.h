// A font realised at one pixel size: its metrics as the windows read them (TEXTMETRIC), the
// advance of every character in whole pixels, and its anti-aliased glyph coverage maps, cached
// as they are first asked for. A face without a font file (none could be found) measures 0 wide,
// keeps the height it was asked for and draws nothing. Characters the face lacks come from its
// fallback face at the same size when it has them.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "framework/gdi/GdiTypes.h"
#include "framework/gdi/Surface.h"

typedef struct FT_FaceRec_* FT_Face;

// One character's coverage map: 0 (background) to 255 (text colour), `nWidth` bytes a row.
struct CGlyph {
    int nAdvance = 0;
    int nLeft = 0; // from the pen position to the map's left column
    int nTop = 0;  // from the baseline up to the map's top row
    int nWidth = 0;
    int nHeight = 0;
    std::vector<uint8_t> coverage;
};

class CFontFace {
public:
    // Takes ownership of `face` (may be null). `lf.lfHeight` must be non-zero: positive is the
    // cell height (ascent + descent), negative the character (em) height. `bEmbolden` and
    // `bSlant` make bold and italic from a face that lacks them.
    CFontFace(FT_Face face, const LOGFONT& lf, bool bEmbolden, bool bSlant);
    ~CFontFace();
    CFontFace(const CFontFace&) = delete;
    CFontFace& operator=(const CFontFace&) = delete;

    // Takes ownership of `face`: it supplies the characters this face lacks.
    void SetFallback(FT_Face face);

    bool HasGlyphs() const { return m_face != nullptr; }
    const TEXTMETRIC& GetMetrics() const { return m_tm; }
    int GetHeight() const { return m_tm.tmHeight; }
    int GetAscent() const { return m_tm.tmAscent; }
    bool IsUnderlined() const { return m_bUnderline; }
    // Rows below the baseline where an underline starts, and its thickness.
    int GetUnderlineOffset() const { return m_nUnderlineOffset; }
    int GetUnderlineThickness() const { return m_nUnderlineThickness; }

    int GetAdvance(uint32_t codepoint) {
        if (codepoint < kDirectAdvances && m_advances[codepoint] >= 0)
            return m_advances[codepoint];
        return LookUpAdvance(codepoint);
    }
    // The reference holds until the next call on this face.
    const CGlyph& GetGlyph(uint32_t codepoint);

    // Blends the glyph with its pen at (x, baseline) in `pixel` colour, inside `clip`, which
    // must already lie within the surface.
    void DrawGlyph(const CSurface& surface, const CRect& clip, int x, int baseline,
                   uint32_t codepoint, uint32_t pixel);

private:
    static constexpr uint32_t kDirectAdvances = 0x800;
    // Past this many cached glyph maps the cache starts over; keeps odd texts from growing it.
    static constexpr size_t kMaxCachedGlyphs = 4096;
    static constexpr size_t kMaxFarAdvances = 16384;

    int LookUpAdvance(uint32_t codepoint);
    void Render(uint32_t codepoint, CGlyph& glyph);
    void ComputeMetrics(const LOGFONT& lf);

    FT_Face m_face = nullptr;
    FT_Face m_fallback = nullptr;
    double m_dEm = 0; // the pixel size both faces are set to
    bool m_bEmbolden = false;
    bool m_bSlant = false;
    bool m_bUnderline = false;
    TEXTMETRIC m_tm{};
    int m_nUnderlineOffset = 1;
    int m_nUnderlineThickness = 1;
    int16_t m_advances[kDirectAdvances];
    const CGlyph* m_nearGlyphs[kDirectAdvances] = {}; // a shortcut into m_glyphs
    std::unordered_map<uint32_t, int> m_farAdvances;
    std::unordered_map<uint32_t, std::unique_ptr<CGlyph>> m_glyphs;
};
