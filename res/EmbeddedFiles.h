// The resource files of this folder, compiled into the executable at build time.
#pragma once

#include "framework/core/WinTypes.h"

struct EMBEDDED_FILE {
    LPCSTR name; // the file's name in res/, e.g. "about.bmp"
    const BYTE* data;
    DWORD size;
};

// The embedded file of that name, or null.
const EMBEDDED_FILE* FindEmbeddedFile(LPCSTR name);
