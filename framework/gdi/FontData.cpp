#include "framework/gdi/FontData.h"

#include <cstring>

CFontData::CFontData(const LOGFONT& lf) : CGdiObjectData(OBJ_FONT), m_logFont(lf) {
    // The face name is read as a C string later; a full buffer must not run past its end.
    m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
}

int CFontData::GetObject(int size, void* out) const {
    if (!out || size < (int)sizeof(LOGFONT))
        return 0;
    std::memcpy(out, &m_logFont, sizeof(LOGFONT));
    return (int)sizeof(LOGFONT);
}
