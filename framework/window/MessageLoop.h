// The program's message loop, one turn at a time: posted messages first, then one input event
// from the backend, then the paint pass and one Present of everything that changed. DoModal
// runs it; tests call AfxPumpUntilIdle to let every posted message and paint happen.
#pragma once

#include "framework/window/Messages.h"

// One turn. timeoutMs bounds the wait for input (−1: wait for ever, 0: do not wait).
// FALSE when there was nothing to do.
BOOL AfxPumpMessage(int timeoutMs);
// Turns without waiting until no posted message, queued input or pending paint remains.
void AfxPumpUntilIdle();
