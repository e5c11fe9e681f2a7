// Window classes (framework internal): what a class gives every window made in it — class
// style, cursor, background brush and icon — found by name, case-insensitively.
#pragma once

#include "framework/core/String.h"
#include "framework/window/Messages.h"

struct WINDOW_CLASS {
    CString strName;
    UINT nStyle = 0;
    HCURSOR hCursor = nullptr;
    // A brush, or a system colour index + 1 as the platform allows.
    HBRUSH hbrBackground = nullptr;
    HICON hIcon = nullptr;
};

class CWindowClass {
public:
    // The class of that name (the standard ones included); null means the framework's default
    // class. Null when no class has the name.
    static const WINDOW_CLASS* Find(LPCTSTR lpszClassName);
    // Registers a class with these attributes once and returns it.
    static const WINDOW_CLASS* Register(UINT nStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                                        HICON hIcon);
};
