#include "framework/system/ParallelJobs.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

int AfxGetParallelThreads() {
    return std::max(1, (int)std::thread::hardware_concurrency());
}

void AfxRunParallel(int nJobs, const std::function<void(int)>& job, int nThreads) {
    if (nJobs <= 0)
        return;
    const int threads = std::min(nJobs, nThreads > 0 ? nThreads : AfxGetParallelThreads());
    // Each thread takes the next job not yet taken, so a slow job never holds up the others.
    std::atomic<int> next{0};
    auto work = [&] {
        for (int i = next++; i < nJobs; i = next++)
            job(i);
    };
    std::vector<std::thread> helpers;
    helpers.reserve((size_t)threads - 1);
    for (int i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the ones there (and this one) do all the jobs
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
}

BOOL CBackgroundJob::Start(std::function<void()> job) {
    Wait();
    try {
        m_thread = std::thread(std::move(job));
    } catch (const std::system_error&) {
        return FALSE;
    }
    return TRUE;
}

void CBackgroundJob::Wait() {
    if (m_thread.joinable())
        m_thread.join();
}
