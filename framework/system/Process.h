// Starting other programs: always with an argument vector (no shell ever sees an address), and
// never leaving a zombie behind. The caller chooses how long it is willing to wait.
#pragma once

#include <vector>

#include "framework/core/String.h"

class CProcess {
public:
    enum State {
        FailedToStart, // not found, not executable, or no process could be made
        StillRunning,  // started, and still running when the wait ended; it goes on alone
        Finished,      // started and ended within the wait; see the exit code
    };

    // Starts args[0] (a path with a slash, or a name looked up on PATH) with the arguments as
    // given, and waits up to waitMs for it to end (0: only until it has started). The program
    // runs detached from us: whatever happens, it never becomes our zombie.
    static State Start(const std::vector<CString>& args, int waitMs = 0, int* pExitCode = nullptr,
                       int* pErrno = nullptr);

    // Runs args to completion and collects what it writes on its standard output (at most
    // maxBytes). A program still running after timeoutMs is killed. TRUE when it exited with 0.
    static BOOL Capture(const std::vector<CString>& args, CString& output, int timeoutMs,
                        size_t maxBytes = 64 * 1024);

    // The full path of an executable program of that name on PATH, or empty. A name with a
    // slash is returned as it is when it names an executable file.
    static CString FindOnPath(const CString& name);
};
