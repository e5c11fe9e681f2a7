#include "framework/gdi/FontEngine.h"

#if SLIDESHOW_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "framework/gdi/EmbeddedFonts.h"

namespace {

const char kDefaultFamily[] = "sans-serif";
const char kIconTitleFamily[] = "Tahoma";
// What stands in for a face that is neither embedded nor found otherwise.
const char kFallbackFamily[] = "DejaVu Sans";

// Faces the program's layouts name, and the embedded face with the same metrics. The dialog
// templates' face is laid out for narrow glyphs: its labels are sized to the pixel, and the
// Arial-metric face keeps them on one line.
const struct {
    const char* face;
    const char* family;
} kAliases[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Verdana", "DejaVu Sans"},
    {kDefaultFamily, "DejaVu Sans"},
};

std::string FamilyOf(const LOGFONT& lf) {
    const size_t length = strnlen(lf.lfFaceName, LF_FACESIZE);
    const std::string face = length == 0 ? kDefaultFamily : std::string(lf.lfFaceName, length);
    for (const auto& alias : kAliases) {
        if (strcasecmp(face.c_str(), alias.face) == 0)
            return alias.family;
    }
    return face;
}

// lfHeight with its default applied and its size limited; never 0.
int UsableHeight(LONG height) {
    if (height == 0)
        return CFontEngine::kDefaultCellHeight;
    const int limit = CFontEngine::kMaxHeight;
    return height > 0 ? (int)std::min<LONG>(height, limit) : (int)std::max<LONG>(height, -limit);
}

} // namespace

CFontEngine& CFontEngine::Get() {
    static CFontEngine engine;
    return engine;
}

CFontEngine::CFontEngine() {
    if (FT_Init_FreeType(&m_library) != 0)
        m_library = nullptr;
#if SLIDESHOW_FONTCONFIG
    m_bFontconfig = FcInit() == FcTrue;
#endif
}

CFontEngine::~CFontEngine() {
    m_faces.clear();
    if (m_library)
        FT_Done_FreeType(m_library);
#if SLIDESHOW_FONTCONFIG
    // Gives back the configuration fontconfig read at start, so leak checkers stay quiet.
    if (m_bFontconfig)
        FcFini();
#endif
}

void CFontEngine::GetIconTitleLogFont(LOGFONT& lf) {
    lf = LOGFONT{};
    lf.lfHeight = kIconTitleHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, kIconTitleFamily, LF_FACESIZE - 1);
}

void CFontEngine::GetDefaultLogFont(LOGFONT& lf) {
    lf = LOGFONT{};
    lf.lfHeight = kDefaultCellHeight;
    lf.lfWeight = FW_NORMAL;
    std::strncpy(lf.lfFaceName, kDefaultFamily, LF_FACESIZE - 1);
}

CFontFace& CFontEngine::RealizeDefault() {
    LOGFONT lf;
    GetDefaultLogFont(lf);
    return Realize(lf);
}

CFontFace& CFontEngine::Realize(const LOGFONT& requested) {
    LOGFONT lf = requested;
    lf.lfHeight = UsableHeight(requested.lfHeight);
    const std::string family = FamilyOf(lf);
    const bool bItalic = lf.lfItalic != 0;
    FaceKey key(family, lf.lfHeight, lf.lfWeight, bItalic, lf.lfUnderline != 0);
    auto found = m_faces.find(key);
    if (found != m_faces.end())
        return *found->second;
    if (m_faces.size() >= kMaxFaces)
        m_faces.clear();

    CFontMatch match;
    FT_Face face = OpenBestMatch(family, lf.lfWeight, bItalic, match);
    if (!face)
        WarnNoFont(family);
    auto realised = std::make_unique<CFontFace>(face, lf, match.bEmbolden, match.bSlant);
    if (face && family != kFallbackFamily) {
        CFontMatch fallback;
        realised->SetFallback(OpenEmbedded(kFallbackFamily, lf.lfWeight, false, fallback));
    }
    return *m_faces.emplace(key, std::move(realised)).first->second;
}

FT_Face CFontEngine::OpenBestMatch(const std::string& family, int weight, bool bItalic,
                                   CFontMatch& match) {
    if (!m_library)
        return nullptr;
    const int wanted = weight == FW_DONTCARE ? FW_NORMAL : std::max(1, std::min(weight, 1000));
    const MatchKey key(family, wanted, bItalic);
    auto known = m_matches.find(key);
    if (known != m_matches.end()) {
        match = known->second;
        FT_Face face = OpenMatch(match);
        if (face)
            return face;
        m_matches.erase(known);
    }
    FT_Face face = OpenEmbedded(family, wanted, bItalic, match);
    if (!face && m_bFontconfig)
        face = SearchBestMatch(family, wanted, bItalic, match);
    if (!face)
        face = OpenEmbedded(kFallbackFamily, wanted, bItalic, match);
    if (face)
        m_matches[key] = match;
    return face;
}

FT_Face CFontEngine::OpenMatch(const CFontMatch& match) {
    FT_Face face = nullptr;
    const FT_Error error =
        match.pEmbedded
            ? FT_New_Memory_Face(m_library, match.pEmbedded, (FT_Long)match.nSize, 0, &face)
            : FT_New_Face(m_library, match.strFile.c_str(), match.nIndex, &face);
    return error == 0 ? face : nullptr;
}

FT_Face CFontEngine::OpenEmbedded(const std::string& family, int wanted, bool bItalic,
                                  CFontMatch& match) {
    EMBEDDED_FONT font;
    if (!FindEmbeddedFont(family, wanted >= FW_SEMIBOLD, font))
        return nullptr;
    CFontMatch embedded;
    embedded.pEmbedded = font.data;
    embedded.nSize = font.size;
    embedded.bEmbolden = wanted >= FW_SEMIBOLD && !font.bBold;
    embedded.bSlant = bItalic; // no italic face is embedded
    FT_Face face = OpenMatch(embedded);
    if (face)
        match = embedded;
    return face;
}

FT_Face CFontEngine::SearchBestMatch(const std::string& family, int wanted, bool bItalic,
                                     CFontMatch& match) {
#if SLIDESHOW_FONTCONFIG
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)family.c_str());
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(wanted));
    FcPatternAddInteger(pattern, FC_SLANT, bItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcFontSet* candidates = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    FT_Face face = nullptr;
    for (int i = 0; candidates && i < candidates->nfont && !face; ++i) {
        // Sorted best first; bitmap-only fonts and unreadable files are passed over.
        FcPattern* font = candidates->fonts[i];
        FcChar8* file = nullptr;
        int index = 0, matchedWeight = FC_WEIGHT_REGULAR, matchedSlant = FC_SLANT_ROMAN;
        FcBool scalable = FcFalse;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable)
            continue;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        FcPatternGetInteger(font, FC_WEIGHT, 0, &matchedWeight);
        FcPatternGetInteger(font, FC_SLANT, 0, &matchedSlant);
        if (FT_New_Face(m_library, (const char*)file, index, &face) != 0) {
            face = nullptr;
            continue;
        }
        if (!FT_IS_SCALABLE(face)) {
            FT_Done_Face(face);
            face = nullptr;
            continue;
        }
        match.strFile = (const char*)file;
        match.nIndex = index;
        match.bEmbolden = wanted >= FW_SEMIBOLD && matchedWeight < FC_WEIGHT_DEMIBOLD;
        match.bSlant = bItalic && matchedSlant == FC_SLANT_ROMAN;
    }
    if (candidates)
        FcFontSetDestroy(candidates);
    FcPatternDestroy(pattern);
    return face;
#else
    (void)family, (void)wanted, (void)bItalic, (void)match;
    return nullptr;
#endif
}

void CFontEngine::WarnNoFont(const std::string& family) {
    if (m_bWarned)
        return;
    m_bWarned = true;
    std::fprintf(stderr, "no usable font found for \"%s\" (FreeType); text is not shown\n",
                 family.c_str());
}
