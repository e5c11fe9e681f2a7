// Where the framework's few user-facing messages go. The window layer installs a sink that
// shows a message box; until then (and in programs without windows) they go to stderr.
#pragma once

#include "framework/core/String.h"

typedef void (*AFX_MESSAGE_SINK)(const CString& text);

// Installs the sink; null restores the standard error stream.
void AfxSetMessageSink(AFX_MESSAGE_SINK pSink);
// Shows the message with an OK button and returns once the user has seen it.
void AfxShowMessage(const CString& text);

// A problem that every picture of one user action may meet (no temporary file can be made)
// is told once per action, not once per picture: AfxShowMessageOncePerAction shows its message
// unless one was shown since the last AfxBeginUserAction. The window layer begins an action
// at each key press and mouse click, except those that answer a message being shown.
void AfxBeginUserAction();
void AfxShowMessageOncePerAction(const CString& text);
