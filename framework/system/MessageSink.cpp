#include "framework/system/MessageSink.h"

#include <cstdio>

namespace {
AFX_MESSAGE_SINK g_pMessageSink = nullptr;
bool g_bShownThisAction = false;
int g_nShowing = 0;
} // namespace

void AfxSetMessageSink(AFX_MESSAGE_SINK pSink) {
    g_pMessageSink = pSink;
}

void AfxShowMessage(const CString& text) {
    ++g_nShowing;
    if (g_pMessageSink)
        g_pMessageSink(text);
    else
        std::fprintf(stderr, "%s\n", text.GetString());
    --g_nShowing;
}

void AfxBeginUserAction() {
    // The click that closes a message box belongs to the action that showed it.
    if (g_nShowing == 0)
        g_bShownThisAction = false;
}

void AfxShowMessageOncePerAction(const CString& text) {
    if (g_bShownThisAction)
        return;
    g_bShownThisAction = true;
    AfxShowMessage(text);
}
