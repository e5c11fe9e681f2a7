// The partner branding carried in the program's XML resource: the partner's name and web
// address, and the regions whose positions place the About box's clickable bands and the
// partner logo. Read once with Expat into program-wide storage.
#pragma once

#include <vector>

#include "framework/core/String.h"

enum {
    REGION_LOGO = 1,
    REGION_ABOUT_STASHWELL = 2,
    REGION_ABOUT_PARTNER = 3,
};

enum {
    POS_TOP = 0,
    POS_LEFT = 1,
    POS_RIGHT = 2,
    POS_BOTTOM = 3,
};

class CRegionPosition {
public:
    CRegionPosition(int nType, int nValue) : m_nType(nType), m_nValue(nValue) {}
    int m_nType;
    int m_nValue;
};

class CRegion {
public:
    explicit CRegion(int nId) : m_nId(nId) {}
    int m_nId;
    std::vector<CRegionPosition> m_positions;
};

extern CString g_strPartnerName;
extern CString g_strPartnerUrl;
extern std::vector<CRegion> g_regions;

class CPartnerLayout {
public:
    // Reads the layout resource unless it was read already.
    static void Create();
    // Frees every region and position; the two strings keep their values.
    static void Destroy();
    // Parses one layout document into the program-wide storage (what Create does with the
    // resource). A malformed document keeps what was stored before the error.
    static void ReadDocument(const char* pBytes, int nSize);

private:
    CPartnerLayout() = default;
    static CPartnerLayout* s_pInstance;
};

// The first position of that type in the first region with that id; 0 when there is none.
int GetPosition(int nRegion, int nType);
