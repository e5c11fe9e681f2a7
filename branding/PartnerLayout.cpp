#include "branding/PartnerLayout.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include <expat.h>

#include "framework/system/Resources.h"
#include "res/ResourceIds.h"

CString g_strPartnerName;
CString g_strPartnerUrl;
std::vector<CRegion> g_regions;

CPartnerLayout* CPartnerLayout::s_pInstance = nullptr;

namespace {

// What the handlers carry from one element to the next while one document is read; Expat
// hands it to every handler as its user data.
struct PARSE_STATE {
    CString strCharData;
    int nPositionType = POS_TOP;
    int nLastRegionId = 0;
};

struct KNOWN_ATTRIBUTE {
    const char* pszName;
    void (*onValue)(PARSE_STATE& state, const char* pszValue);
};

// The attribute list is scanned once as one run of strings, knowing every name the element
// takes: a known name takes the entry after it as its value and the scan goes on after that
// value, so a value that equals a known name is never taken for one; any other entry is
// stepped over one entry at a time.
void ScanAttributes(PARSE_STATE& state, const XML_Char** atts,
                    std::initializer_list<KNOWN_ATTRIBUTE> known) {
    for (int i = 0; atts[i] != nullptr;) {
        const KNOWN_ATTRIBUTE* pMatch = nullptr;
        for (const KNOWN_ATTRIBUTE& attribute : known)
            if (std::strcmp(atts[i], attribute.pszName) == 0)
                pMatch = &attribute;
        if (pMatch != nullptr && atts[i + 1] != nullptr) {
            pMatch->onValue(state, atts[i + 1]);
            i += 2;
        } else {
            ++i;
        }
    }
}

struct NAMED_VALUE {
    const char* pszName;
    int nValue;
};

// The value the table gives the name; `nOther` for a name it does not hold.
int ValueOfName(std::initializer_list<NAMED_VALUE> table, const char* psz, int nOther) {
    for (const NAMED_VALUE& entry : table)
        if (std::strcmp(psz, entry.pszName) == 0)
            return entry.nValue;
    return nOther;
}

int RegionIdFromName(const char* psz) {
    return ValueOfName({{"logo", REGION_LOGO},
                        {"about_stashwell", REGION_ABOUT_STASHWELL},
                        {"about_partner", REGION_ABOUT_PARTNER}},
                       psz, 0);
}

int PositionTypeFromName(const char* psz, int nCurrent) {
    return ValueOfName(
        {{"top", POS_TOP}, {"left", POS_LEFT}, {"right", POS_RIGHT}, {"bottom", POS_BOTTOM}}, psz,
        nCurrent);
}

// A known region id that differs from the last region's starts a new region; any other id
// lets the positions join the last region.
void OpenRegion(PARSE_STATE& state, const char* pszId) {
    const int nId = RegionIdFromName(pszId);
    if (nId != 0 && nId != state.nLastRegionId) {
        g_regions.emplace_back(nId);
        state.nLastRegionId = nId;
    }
}

void SetPositionType(PARSE_STATE& state, const char* pszType) {
    state.nPositionType = PositionTypeFromName(pszType, state.nPositionType);
}

void XMLCALL OnStartElement(void* pUserData, const XML_Char* name, const XML_Char** atts) {
    PARSE_STATE& state = *static_cast<PARSE_STATE*>(pUserData);
    if (std::strcmp(name, "partner") == 0) {
        ScanAttributes(state, atts,
                       {{"name", [](PARSE_STATE&, const char* v) { g_strPartnerName = v; }},
                        {"url", [](PARSE_STATE&, const char* v) { g_strPartnerUrl = v; }}});
    } else if (std::strcmp(name, "region") == 0) {
        ScanAttributes(state, atts, {{"id", OpenRegion}});
    } else if (std::strcmp(name, "position") == 0) {
        state.strCharData.Empty();
        ScanAttributes(state, atts, {{"type", SetPositionType}});
    }
}

void XMLCALL OnEndElement(void* pUserData, const XML_Char* name) {
    if (std::strcmp(name, "position") != 0)
        return;
    const PARSE_STATE& state = *static_cast<PARSE_STATE*>(pUserData);
    if (!g_regions.empty())
        g_regions.back().m_positions.emplace_back(state.nPositionType,
                                                  std::atoi(state.strCharData));
}

void XMLCALL OnCharacterData(void* pUserData, const XML_Char* s, int len) {
    static_cast<PARSE_STATE*>(pUserData)->strCharData += CString(s, len);
}

} // namespace

void CPartnerLayout::ReadDocument(const char* pBytes, int nSize) {
    XML_Parser parser = XML_ParserCreate("ISO-8859-1");
    if (parser == nullptr)
        return;
    PARSE_STATE state;
    XML_SetUserData(parser, &state);
    XML_SetStartElementHandler(parser, OnStartElement);
    XML_SetEndElementHandler(parser, OnEndElement);
    XML_SetCharacterDataHandler(parser, OnCharacterData);
    // Not the final buffer: the document's closing text is never needed, and a malformed
    // document keeps whatever the handlers stored before the error.
    XML_Parse(parser, pBytes, nSize, 0);
    XML_ParserFree(parser);
}

void CPartnerLayout::Create() {
    if (s_pInstance != nullptr)
        return;
    s_pInstance = new CPartnerLayout;
    HRSRC hRes = FindResource(nullptr, MAKEINTRESOURCE(IDR_PARTNER_LAYOUT), "RT_XML");
    if (hRes == nullptr)
        return;
    HGLOBAL hData = LoadResource(nullptr, hRes);
    const char* pBytes = hData ? static_cast<const char*>(LockResource(hData)) : nullptr;
    if (pBytes == nullptr)
        return;
    ReadDocument(pBytes, (int)SizeofResource(nullptr, hRes));
}

void CPartnerLayout::Destroy() {
    delete s_pInstance;
    s_pInstance = nullptr;
    g_regions.clear();
}

int GetPosition(int nRegion, int nType) {
    for (const CRegion& region : g_regions) {
        if (region.m_nId != nRegion)
            continue;
        for (const CRegionPosition& pos : region.m_positions)
            if (pos.m_nType == nType)
                return pos.m_nValue;
        return 0;
    }
    return 0;
}
