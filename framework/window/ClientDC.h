// A context for drawing straight into a window's client area outside WM_PAINT (GetDC).
#pragma once

#include "framework/gdi/DC.h"
#include "framework/window/Wnd.h"

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};
