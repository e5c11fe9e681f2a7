// Where the framework's few user-facing messages go. The window layer installs a sink that
// shows a message box; until then (and in programs without windows) they go to stderr.
#pragma once

#include "framework/core/String.h"

typedef void (*AFX_MESSAGE_SINK)(const CString& text);

// Installs the sink; null restores the standard error stream.
void AfxSetMessageSink(AFX_MESSAGE_SINK pSink);
// Shows the message with an OK button and returns once the user has seen it.
void AfxShowMessage(const CString& text);
