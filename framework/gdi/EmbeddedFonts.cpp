#include "framework/gdi/EmbeddedFonts.h"

#include <strings.h>

bool FindEmbeddedFont(const std::string& family, bool bBold, EMBEDDED_FONT& font) {
    bool bFound = false;
    for (int i = 0; i < GetEmbeddedFontCount(); ++i) {
        const EMBEDDED_FONT candidate = GetEmbeddedFont(i);
        if (strcasecmp(candidate.family, family.c_str()) != 0)
            continue;
        if (!bFound || candidate.bBold == bBold)
            font = candidate;
        bFound = true;
    }
    return bFound;
}
