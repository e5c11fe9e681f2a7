#include "framework/system/MessageSink.h"

#include <cstdio>

namespace {
AFX_MESSAGE_SINK g_pMessageSink = nullptr;
} // namespace

void AfxSetMessageSink(AFX_MESSAGE_SINK pSink) { g_pMessageSink = pSink; }

void AfxShowMessage(const CString& text) {
    if (g_pMessageSink) g_pMessageSink(text);
    else std::fprintf(stderr, "%s\n", text.GetString());
}
