// Measures what the in-process benchmarks cannot see: starting the executable itself. Each given
// viewer is run without a collection, which loads it (and, when dynamic, its libraries), opens
// the display, finds no collection and ends; the runs of the files alternate so that each sees
// the same machine. Run under scripts/with-display.sh where there is no desktop.
//   bench_launch [-n RUNS] VIEWER...     e.g. build/app/slideshow build-portable/app/slideshow
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"

namespace {

using namespace bench;

// Milliseconds from fork to the end of the process, or -1 when it failed (a display that
// refuses a connection now and then under load makes the viewer end with status 1).
double TimeLaunch(const std::string& path) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("SLIDESHOW_SCREEN", "800x600", 1);
        execl(path.c_str(), path.c_str(), (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return MillisecondsSince(start);
}

} // namespace

int main(int argc, char* argv[]) {
    int runs = 30;
    std::vector<std::string> viewers;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-n") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            viewers.push_back(argv[i]);
    }
    if (viewers.empty()) {
        std::fprintf(stderr, "usage: bench_launch [-n RUNS] VIEWER...\n");
        return 2;
    }
    std::vector<std::vector<double>> times(viewers.size());
    std::vector<int> failures(viewers.size());
    for (int run = 0; run < runs + 1; ++run) {
        for (size_t v = 0; v < viewers.size(); ++v) {
            double ms = -1;
            for (int attempt = 0; attempt < 3 && ms < 0; ++attempt) {
                ms = TimeLaunch(viewers[v]);
                failures[v] += ms < 0;
            }
            if (ms < 0) {
                std::fprintf(stderr, "bench_launch: %s does not run\n", viewers[v].c_str());
                return 1;
            }
            if (run > 0) // the first round warms the file cache
                times[v].push_back(ms);
        }
    }
    for (size_t v = 0; v < viewers.size(); ++v)
        std::printf("%-40s launch to exit, no collection: median %.1f ms (%d runs, %d failed "
                    "and repeated)\n",
                    viewers[v].c_str(), Median(times[v]), runs, failures[v]);
    return 0;
}
