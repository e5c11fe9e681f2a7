// The message box each platform shows over the SDL window: on Windows the system's own, on
// Linux our own (the desktop's dialogs do not show on an X server without a window manager).
#pragma once

#include "framework/core/String.h"

// Shows the box and returns once the user has answered it; FALSE when none could be shown.
BOOL AfxShowPlatformMessageBox(const CString& caption, const CString& text);
