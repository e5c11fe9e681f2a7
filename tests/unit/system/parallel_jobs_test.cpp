#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "framework/system/ParallelJobs.h"

TEST(ParallelJobs, RunsEveryJobOnceAndReturnsWhenAllHaveEnded) {
    for (int nJobs : {0, 1, 7, 64}) {
        std::vector<std::atomic<int>> runs((size_t)nJobs);
        AfxRunParallel(nJobs, [&](int i) {
            std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 3)));
            runs[(size_t)i]++;
        });
        for (int i = 0; i < nJobs; i++)
            EXPECT_EQ(1, runs[(size_t)i].load()) << nJobs << " jobs, job " << i;
    }
    EXPECT_GE(AfxGetParallelThreads(), 1);
}

TEST(ParallelJobs, JobsRunAtTheSameTimeOnTheThreadsAsked) {
    // Each job waits until three jobs are running at once: done only when they run side by
    // side, however few cores the machine has.
    std::atomic<int> running{0}, peak{0};
    AfxRunParallel(
        3,
        [&](int) {
            const int now = ++running;
            int seen = peak.load();
            while (now > seen && !peak.compare_exchange_weak(seen, now)) {
            }
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (peak.load() < 3 && std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
            --running;
        },
        3);
    EXPECT_EQ(3, peak.load());

    std::atomic<int> alone{0}, most{0};
    AfxRunParallel(
        6,
        [&](int) {
            const int now = ++alone;
            int seen = most.load();
            while (now > seen && !most.compare_exchange_weak(seen, now)) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            --alone;
        },
        1);
    EXPECT_EQ(1, most.load()) << "one thread asked: one job at a time";
}
