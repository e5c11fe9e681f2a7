// The context of one WM_PAINT: BeginPaint on construction (erasing first when asked), clipped
// to the area to repaint; EndPaint on destruction.
#pragma once

#include "framework/gdi/DC.h"
#include "framework/window/Wnd.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};
