#include "framework/window/Timer.h"

#include <algorithm>

#include "framework/backend/Backend.h"
#include "framework/window/Wnd.h"

namespace {
uint64_t Now() {
    CBackend* pBackend = AfxGetBackend();
    return pBackend ? pBackend->GetTicks() : 0;
}
} // namespace

CTimerQueue& CTimerQueue::Get() {
    static CTimerQueue s_queue;
    return s_queue;
}

void CTimerQueue::Set(HWND hWnd, UINT_PTR nID, UINT nElapse) {
    Kill(hWnd, nID);
    m_timers.push_back(TIMER{hWnd, nID, nElapse, Now() + nElapse});
}

BOOL CTimerQueue::Kill(HWND hWnd, UINT_PTR nID) {
    const auto it = std::find_if(m_timers.begin(), m_timers.end(),
                                 [&](const TIMER& t) { return t.hWnd == hWnd && t.nID == nID; });
    if (it == m_timers.end())
        return FALSE;
    m_timers.erase(it);
    return TRUE;
}

BOOL CTimerQueue::SendDue() {
    const uint64_t nNow = Now();
    const auto it =
        std::min_element(m_timers.begin(), m_timers.end(),
                         [](const TIMER& a, const TIMER& b) { return a.nDue < b.nDue; });
    if (it == m_timers.end() || it->nDue > nNow)
        return FALSE;
    const TIMER timer = *it;
    // A destroyed window's timers go with it.
    if (!::IsWindow(timer.hWnd)) {
        m_timers.erase(it);
        return TRUE;
    }
    it->nDue = nNow + timer.nElapse;
    ::SendMessage(timer.hWnd, WM_TIMER, timer.nID, 0);
    return TRUE;
}

int CTimerQueue::MillisecondsToNext() const {
    if (m_timers.empty())
        return -1;
    const uint64_t nNow = Now();
    uint64_t nDue = m_timers.front().nDue;
    for (const TIMER& t : m_timers)
        nDue = std::min(nDue, t.nDue);
    return nDue <= nNow ? 0 : (int)std::min<uint64_t>(nDue - nNow, 0x7FFFFFFF);
}
