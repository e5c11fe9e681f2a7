// Runs a batch of independent jobs on the machine's cores while the calling thread waits (and
// takes its share of the jobs). A job must not call into windows or GDI handles: those belong
// to the window thread.
#pragma once

#include <functional>
#include <thread>

#include "framework/core/WinTypes.h"

// Calls job(0) … job(nJobs − 1), each once, on up to nThreads threads (0: one per core); returns
// when all have ended. A job must not throw.
void AfxRunParallel(int nJobs, const std::function<void(int)>& job, int nThreads = 0);
// The threads a batch uses when none are asked for: the machine's cores, at least one.
int AfxGetParallelThreads();

// One job on a thread of its own while the calling thread goes on. Wait, or the destructor,
// joins it; what the job touches belongs to it until then.
class CBackgroundJob {
public:
    CBackgroundJob() = default;
    ~CBackgroundJob() { Wait(); }
    CBackgroundJob(const CBackgroundJob&) = delete;
    CBackgroundJob& operator=(const CBackgroundJob&) = delete;

    // Waits for the job before, then starts this one; FALSE, and the job not run, when no
    // thread can be had. The job must not throw.
    BOOL Start(std::function<void()> job);
    // Returns once the job has ended (at once without one).
    void Wait();

private:
    std::thread m_thread;
};
