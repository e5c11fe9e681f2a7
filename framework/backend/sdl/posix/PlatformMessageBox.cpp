#include "framework/backend/sdl/PlatformMessageBox.h"

#include "framework/backend/sdl/SdlMessageBox.h"

BOOL AfxShowPlatformMessageBox(const CString& caption, const CString& text) {
    CSdlMessageBox box(caption, text);
    return box.Run();
}
