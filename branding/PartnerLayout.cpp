#include "branding/PartnerLayout.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include <expat.h>

#include "framework/system/Resources.h"
#include "res/ResourceIds.h"

CString g_strPartnerName;
CString g_strPartnerUrl;
CString g_strCharData;
std::vector<CRegion*> g_regions;

CPartnerLayout* CPartnerLayout::s_pInstance = nullptr;

namespace {

// Parsing state; meaningful only while a document is being read.
int g_nPositionType = POS_TOP;
int g_nLastRegionId = 0;

struct KNOWN_ATTRIBUTE {
    const char* pszName;
    void (*onValue)(const char* pszValue);
};

// The attribute list is scanned once as one run of strings, knowing every name the element
// takes: a known name takes the entry after it as its value and the scan goes on after that
// value, so a value that equals a known name is never taken for one; any other entry is
// stepped over one entry at a time.
void ScanAttributes(const XML_Char** atts, std::initializer_list<KNOWN_ATTRIBUTE> known) {
    for (int i = 0; atts[i] != nullptr;) {
        const KNOWN_ATTRIBUTE* pMatch = nullptr;
        for (const KNOWN_ATTRIBUTE& attribute : known)
            if (std::strcmp(atts[i], attribute.pszName) == 0)
                pMatch = &attribute;
        if (pMatch != nullptr && atts[i + 1] != nullptr) {
            pMatch->onValue(atts[i + 1]);
            i += 2;
        } else {
            ++i;
        }
    }
}

int RegionIdFromName(const char* psz) {
    if (std::strcmp(psz, "logo") == 0) return REGION_LOGO;
    if (std::strcmp(psz, "about_stashwell") == 0) return REGION_ABOUT_STASHWELL;
    if (std::strcmp(psz, "about_partner") == 0) return REGION_ABOUT_PARTNER;
    return 0;
}

int PositionTypeFromName(const char* psz, int nCurrent) {
    if (std::strcmp(psz, "top") == 0) return POS_TOP;
    if (std::strcmp(psz, "left") == 0) return POS_LEFT;
    if (std::strcmp(psz, "right") == 0) return POS_RIGHT;
    if (std::strcmp(psz, "bottom") == 0) return POS_BOTTOM;
    return nCurrent;
}

// A known region id that differs from the last region's starts a new region; any other id
// lets the positions join the last region.
void OpenRegion(const char* pszId) {
    const int nId = RegionIdFromName(pszId);
    if (nId != 0 && nId != g_nLastRegionId) {
        g_regions.push_back(new CRegion(nId));
        g_nLastRegionId = nId;
    }
}

void SetPositionType(const char* pszType) {
    g_nPositionType = PositionTypeFromName(pszType, g_nPositionType);
}

void XMLCALL OnStartElement(void*, const XML_Char* name, const XML_Char** atts) {
    if (std::strcmp(name, "partner") == 0) {
        ScanAttributes(atts, {{"name", [](const char* v) { g_strPartnerName = v; }},
                              {"url", [](const char* v) { g_strPartnerUrl = v; }}});
    } else if (std::strcmp(name, "region") == 0) {
        ScanAttributes(atts, {{"id", OpenRegion}});
    } else if (std::strcmp(name, "position") == 0) {
        g_strCharData.Empty();
        ScanAttributes(atts, {{"type", SetPositionType}});
    }
}

void XMLCALL OnEndElement(void*, const XML_Char* name) {
    if (std::strcmp(name, "position") != 0) return;
    const int nValue = std::atoi(g_strCharData);
    if (!g_regions.empty()) g_regions.back()->m_positions.push_back(new CRegionPosition(g_nPositionType, nValue));
}

void XMLCALL OnCharacterData(void*, const XML_Char* s, int len) { g_strCharData += CString(s, len); }

} // namespace

void CPartnerLayout::ReadDocument(const char* pBytes, int nSize) {
    XML_Parser parser = XML_ParserCreate("ISO-8859-1");
    if (parser == nullptr) return;
    XML_SetUserData(parser, s_pInstance);
    XML_SetStartElementHandler(parser, OnStartElement);
    XML_SetEndElementHandler(parser, OnEndElement);
    XML_SetCharacterDataHandler(parser, OnCharacterData);
    // Not the final buffer: the document's closing text is never needed, and a malformed
    // document keeps whatever the handlers stored before the error.
    XML_Parse(parser, pBytes, nSize, 0);
    XML_ParserFree(parser);
}

void CPartnerLayout::Create() {
    if (s_pInstance != nullptr) return;
    s_pInstance = new CPartnerLayout;
    HRSRC hRes = FindResource(nullptr, MAKEINTRESOURCE(IDR_PARTNER_LAYOUT), "RT_XML");
    if (hRes == nullptr) return;
    HGLOBAL hData = LoadResource(nullptr, hRes);
    const char* pBytes = hData ? static_cast<const char*>(LockResource(hData)) : nullptr;
    if (pBytes == nullptr) return;
    ReadDocument(pBytes, (int)SizeofResource(nullptr, hRes));
}

void CPartnerLayout::Destroy() {
    delete s_pInstance;
    s_pInstance = nullptr;
    for (CRegion* pRegion : g_regions) {
        for (CRegionPosition* pPos : pRegion->m_positions) delete pPos;
        delete pRegion;
    }
    g_regions.clear();
    g_nLastRegionId = 0;
    g_nPositionType = POS_TOP;
}

int GetPosition(int nRegion, int nType) {
    for (const CRegion* pRegion : g_regions) {
        if (pRegion->m_nId != nRegion) continue;
        for (const CRegionPosition* pPos : pRegion->m_positions)
            if (pPos->m_nType == nType) return pPos->m_nValue;
        return 0;
    }
    return 0;
}
