// The font files linked into the executable (cmake/EmbeddedFonts.cmake chooses them): the
// program's own texts draw the same on every desktop, with no font installed.
#pragma once

#include <cstddef>
#include <string>

#include "framework/core/WinTypes.h"

struct EMBEDDED_FONT {
    LPCSTR family; // "Tahoma", "Liberation Sans", "DejaVu Sans"
    bool bBold;
    const BYTE* data; // a TrueType file
    size_t size;
};

int GetEmbeddedFontCount();
EMBEDDED_FONT GetEmbeddedFont(int index);
// The licence texts of the embedded fonts, one after the other.
std::string GetEmbeddedFontLicences();

// The embedded face of that family (compared without case) in the weight asked for, else its
// other weight; false when the family is not embedded.
bool FindEmbeddedFont(const std::string& family, bool bBold, EMBEDDED_FONT& font);
