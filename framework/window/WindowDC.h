// A context for the whole window, non-client area included (GetWindowDC). It is not clipped by
// the window's children: a full-screen window's context reaches every pixel of the screen.
#pragma once

#include "framework/gdi/DC.h"
#include "framework/window/Wnd.h"

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
