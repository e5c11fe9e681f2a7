// Cursors and icons: images from the program's resources or the standard arrow and busy
// shapes, handed to the backend when made current.
#pragma once

#include "framework/window/Messages.h"

// A cursor from the program's resources (group cursor id) or, with a null instance, a standard
// cursor (IDC_ARROW, IDC_WAIT, IDC_HAND); null when there is none.
HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName);
// An icon from the program's resources (group icon id); null when there is none.
HICON LoadIcon(HINSTANCE hInstance, LPCSTR lpIconName);
// Makes the cursor current (null hides nothing: it shows the arrow); returns the previous one.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
// Shows the icon as the program's window icon on the desktop (WM_SETICON of a top-level window).
void AfxShowDesktopIcon(HICON hIcon);
// How many BeginWaitCursor calls are not yet matched by EndWaitCursor.
int AfxGetWaitCursorCount();
