// Runs a batch of independent jobs on the machine's cores while the calling thread waits (and
// takes its share of the jobs). A job must not call into windows or GDI handles: those belong
// to the window thread.
#pragma once

#include <functional>

// Calls job(0) … job(nJobs − 1), each once, on up to nThreads threads (0: one per core); returns
// when all have ended. A job must not throw.
void AfxRunParallel(int nJobs, const std::function<void(int)>& job, int nThreads = 0);
// The threads a batch uses when none are asked for: the machine's cores, at least one.
int AfxGetParallelThreads();
