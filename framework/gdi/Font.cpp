#include "framework/gdi/FontData.h"
#include "framework/gdi/FontEngine.h"
#include "framework/gdi/GdiObject.h"

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (!lf)
        return nullptr;
    return (HFONT)AfxAddGdiObject(std::make_unique<CFontData>(*lf));
}

BOOL SystemParametersInfo(UINT action, UINT param, void* pv, UINT /*winIni*/) {
    if (action != SPI_GETICONTITLELOGFONT || !pv)
        return FALSE;
    if (param != 0 && param < sizeof(LOGFONT))
        return FALSE;
    CFontEngine::GetIconTitleLogFont(*static_cast<LOGFONT*>(pv));
    return TRUE;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lf) {
    if (m_hObject)
        return FALSE;
    return Attach((HGDIOBJ)::CreateFontIndirect(lf));
}

CFont* CFont::FromHandle(HFONT h) {
    return static_cast<CFont*>(AfxGetGdiWrapper((HGDIOBJ)h, OBJ_FONT));
}
