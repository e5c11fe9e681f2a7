#include "framework/backend/sdl/PlatformMessageBox.h"

#include "framework/system/win32/Win32Api.h"

BOOL AfxShowPlatformMessageBox(const CString& caption, const CString& text) {
    Win32::ShowMessageBox(caption.Str(), text.Str());
    return TRUE;
}
