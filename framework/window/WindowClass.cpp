#include "framework/window/WindowClass.h"

#include <strings.h>

#include <deque>

#include "framework/window/Cursor.h"
#include "framework/window/Wnd.h"

namespace {
std::deque<WINDOW_CLASS>& Classes() {
    static std::deque<WINDOW_CLASS> s_classes;
    if (s_classes.empty()) {
        HCURSOR hArrow = LoadCursor(nullptr, IDC_ARROW);
        // The framework's default class first; then the platform's standard control classes.
        for (const char* name : {"AfxWnd", "Static", "Button", "ComboBox", "ComboLBox", "ListBox",
                                 "ScrollBar", "Edit", "#32770"}) {
            WINDOW_CLASS wc;
            wc.strName = name;
            wc.nStyle = CS_DBLCLKS;
            wc.hCursor = hArrow;
            s_classes.push_back(wc);
        }
    }
    return s_classes;
}
} // namespace

const WINDOW_CLASS* CWindowClass::Find(LPCTSTR lpszClassName) {
    std::deque<WINDOW_CLASS>& classes = Classes();
    if (!lpszClassName || !*lpszClassName)
        return &classes.front();
    for (const WINDOW_CLASS& wc : classes) {
        if (strcasecmp(wc.strName, lpszClassName) == 0)
            return &wc;
    }
    return nullptr;
}

const WINDOW_CLASS* CWindowClass::Register(UINT nStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                                           HICON hIcon) {
    CString strName;
    strName.Format("Afx:%x:%p:%p:%p", nStyle, (void*)hCursor, (void*)hbrBackground, (void*)hIcon);
    if (const WINDOW_CLASS* pFound = Find(strName))
        return pFound;
    WINDOW_CLASS wc;
    wc.strName = strName;
    wc.nStyle = nStyle;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    Classes().push_back(wc);
    return &Classes().back();
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    return CWindowClass::Register(nClassStyle, hCursor, hbrBackground, hIcon)->strName;
}
