// The type that scroll messages name as their sender. The window scroll bars of this framework
// are not separate windows, so handlers always receive null.
#pragma once

#include "framework/window/Wnd.h"

class CScrollBar : public CWnd {};
