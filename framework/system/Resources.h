// The program's resources, looked up by type and id as the platform's resource calls do. The
// program registers its table once at start (res/); the framework only looks things up.
#pragma once

#include "framework/core/WinTypes.h"

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)

// One resource. `type` is an integer type (MAKEINTRESOURCE) or a type name such as "RT_XML".
// Data forms by type: RT_STRING the UTF-8 text (no terminator counted in size); RT_BITMAP a
// whole .bmp file; RT_GROUP_CURSOR a whole .cur file; RT_GROUP_ICON a whole .ico file;
// RT_DIALOG a DLGTEMPLATE_DATA; RT_VERSION a VERSION_DATA; named types their bytes as stored.
struct RESOURCE_ENTRY {
    LPCSTR type;
    UINT id;
    const void* data;
    DWORD size;
};

// A dialog template, sizes in dialog units.
struct DLGITEMTEMPLATE_DATA {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    LPCSTR className; // "Static", "Button", ...
    LPCSTR text;
};
struct DLGTEMPLATE_DATA {
    DWORD style;
    short x, y, cx, cy;
    LPCSTR faceName;
    WORD pointSize;
    const DLGITEMTEMPLATE_DATA* items;
    int itemCount;
};

// The version block: identification only.
struct VERSION_DATA {
    WORD fileVersion[4]; // most significant part first: 1, 1, 0, 0 is 1.1.0.0
    WORD productVersion[4];
    LPCSTR fileDescription;
    LPCSTR productName;
    WORD language; // 0x0409 US English
    WORD codePage; // 1200 Unicode
};

// Replaces the table that lookups search. The entries must outlive every lookup.
void AfxSetResourceTable(const RESOURCE_ENTRY* entries, int count);

HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC res);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC res);
#define FindResourceA FindResource

// Convenience over the four calls above: the entry of that type and id, or null.
const RESOURCE_ENTRY* AfxFindResource(LPCSTR type, UINT id);
HINSTANCE AfxGetResourceHandle();
