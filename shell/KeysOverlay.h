// The small window that lists the keys (F1 or ?), over the middle of the frame; the main window
// closes it at the next key or click.
#pragma once

#include "framework/window/Static.h"

class CKeysOverlay : public CStatic {
public:
    // Made at the first opening, so that a window that never shows it has no such child.
    void Open(CWnd* pParent, CFont* pFont, const CRect& rcFrame);
    void Close();
    BOOL IsOpen() const { return GetSafeHwnd() != nullptr && IsWindowVisible(); }

    static const int WIDTH = 330;
    static const int HEIGHT = 180;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
