// Where fonts come from: a LOGFONT is resolved to a font file and realised with FreeType into a
// CFontFace, which is kept for the next text call that asks for the same font.
//
// The platform choices that the windows leave open, all made here:
// - The faces the program names are embedded (EmbeddedFonts.h), metric-compatible with the
//   faces its layouts were made for, so every fixed text fits its rectangle on any desktop:
//   "Tahoma" is Wine's Tahoma; "MS Sans Serif" (the dialog templates' face) and "Arial" are
//   Liberation Sans; "Verdana", "sans-serif" and an empty face name are DejaVu Sans.
// - The icon-title font (SystemParametersInfo SPI_GETICONTITLELOGFONT) is "Tahoma" with lfHeight
//   -11 (8-point icon titles at 96 dpi) and normal weight 400.
// - Any other face name goes to fontconfig's best match among scalable fonts where the build has
//   fontconfig; otherwise, or when nothing matches, it is the embedded DejaVu Sans.
// - lfHeight 0 and a device context without a selected font both give the default font:
//   "sans-serif", 16-pixel cell height, weight 400 (the platform's system font is 16 high).
// - |lfHeight| is limited to 1024 pixels.
// - A weight of 600 or more asks for a bold face; when the family has none, FreeType emboldens
//   the regular one. Italic falls back to a slanted regular face.
// - Glyphs are grey anti-aliased with light hinting, advance in whole pixels and are not kerned.
//   Characters that the face lacks come from the embedded DejaVu Sans (the widest coverage);
//   those it lacks too show the face's missing-glyph box.
// - When FreeType cannot be used at all, text measures 0 wide at the height asked for and draws
//   nothing; one line on stderr says so.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "framework/gdi/FontFace.h"

typedef struct FT_LibraryRec_* FT_Library;

class CFontEngine {
public:
    static constexpr int kIconTitleHeight = -11;
    static constexpr int kDefaultCellHeight = 16;
    static constexpr int kMaxHeight = 1024;

    static CFontEngine& Get();

    // The realised font for `lf`; the reference holds until the next Realize.
    CFontFace& Realize(const LOGFONT& lf);
    // The font of a device context that has none selected.
    CFontFace& RealizeDefault();

    static void GetIconTitleLogFont(LOGFONT& lf);
    static void GetDefaultLogFont(LOGFONT& lf);

private:
    typedef std::tuple<std::string, int, int, bool, bool> FaceKey;
    typedef std::tuple<std::string, int, bool> MatchKey; // family, weight, italic
    // The font file found for a family and style, kept so that new sizes skip the search:
    // embedded bytes, or a file that fontconfig named.
    struct CFontMatch {
        const unsigned char* pEmbedded = nullptr;
        size_t nSize = 0;
        std::string strFile;
        int nIndex = 0;
        bool bEmbolden = false;
        bool bSlant = false;
    };
    // Beyond this many realised fonts the cache starts over.
    static constexpr size_t kMaxFaces = 64;

    CFontEngine();
    ~CFontEngine();
    FT_Face OpenBestMatch(const std::string& family, int weight, bool bItalic, CFontMatch& match);
    FT_Face OpenMatch(const CFontMatch& match);
    FT_Face OpenEmbedded(const std::string& family, int wanted, bool bItalic, CFontMatch& match);
    FT_Face SearchBestMatch(const std::string& family, int weight, bool bItalic, CFontMatch& match);
    void WarnNoFont(const std::string& family);

    FT_Library m_library = nullptr;
    bool m_bFontconfig = false;
    bool m_bWarned = false;
    std::map<FaceKey, std::unique_ptr<CFontFace>> m_faces;
    std::map<MatchKey, CFontMatch> m_matches;
};
