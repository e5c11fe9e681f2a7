// The object behind an HFONT: the LOGFONT it was created from. Realising it at a size is the
// font engine's work, done when text is drawn or measured.
#pragma once

#include "framework/gdi/GdiObjectData.h"

class CFontData : public CGdiObjectData {
public:
    explicit CFontData(const LOGFONT& lf);
    int GetObject(int size, void* out) const override;

    LOGFONT m_logFont;
};
