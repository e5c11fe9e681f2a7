// Window timers (framework internal): a window asks for WM_TIMER every so many milliseconds of
// the backend's clock. The message loop sends a due one only when no posted message, input or
// paint waits, as the platform does, and a late timer fires once, not once per missed period.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/window/Messages.h"

class CTimerQueue {
public:
    static CTimerQueue& Get();

    // Starts the window's timer of that id, or restarts it with the new period.
    void Set(HWND hWnd, UINT_PTR nID, UINT nElapse);
    BOOL Kill(HWND hWnd, UINT_PTR nID);
    // Sends WM_TIMER for the timer that is due first; FALSE when none is due.
    BOOL SendDue();
    // Milliseconds until the next timer is due (0: one is due), or −1 without timers.
    int MillisecondsToNext() const;

private:
    struct TIMER {
        HWND hWnd;
        UINT_PTR nID;
        UINT nElapse;
        uint64_t nDue;
    };
    std::vector<TIMER> m_timers;
};
