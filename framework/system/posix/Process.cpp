#include "framework/system/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

// What the helper processes tell the caller through the pipe.
struct Report {
    enum Kind { ExecFailed = 1, Exited = 2, Killed = 3 };
    int kind;
    int value;
};

// The argument vector built before forking: after fork only async-signal-safe calls are made.
class ArgumentVector {
public:
    ArgumentVector(const CString& path, const std::vector<CString>& args) : m_path(path.Str()) {
        for (const CString& a : args)
            m_strings.push_back(a.Str());
        for (std::string& s : m_strings)
            m_pointers.push_back(s.data());
        m_pointers.push_back(nullptr);
    }
    const char* Path() const { return m_path.c_str(); }
    char* const* Argv() const { return m_pointers.data(); }

private:
    std::string m_path;
    std::vector<std::string> m_strings;
    std::vector<char*> m_pointers;
};

long long NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

void SleepMs(int ms) {
    timespec ts = {0, (long)ms * 1000000};
    nanosleep(&ts, nullptr);
}

void WriteReport(int fd, int kind, int value) {
    Report r = {kind, value};
    ssize_t n;
    do {
        n = write(fd, &r, sizeof r);
    } while (n < 0 && errno == EINTR);
}

// The new program starts with default signal handling and none of our open files but `keep`
// and the three standard ones: it must not hold the collection or a picture file open.
void PrepareChild(int keep) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGCHLD, SIG_DFL);
    signal(SIGPIPE, SIG_DFL);
    if (keep > 3)
        close_range(3, (unsigned)keep - 1, 0);
    close_range(keep >= 3 ? (unsigned)keep + 1 : 3u, ~0u, 0);
}

// Runs in the middle process: starts the program, then watches it for up to waitMs.
[[noreturn]] void RunMiddle(const ArgumentVector& av, int reportFd, int waitMs) {
    pid_t child = fork();
    if (child == 0) {
        PrepareChild(reportFd);
        execv(av.Path(), av.Argv());
        WriteReport(reportFd, Report::ExecFailed, errno);
        _exit(127);
    }
    if (child < 0) {
        WriteReport(reportFd, Report::ExecFailed, errno);
        _exit(0);
    }
    const long long deadline = NowMs() + waitMs;
    while (waitMs > 0) {
        int status = 0;
        pid_t r = waitpid(child, &status, WNOHANG);
        if (r == child) {
            if (WIFEXITED(status))
                WriteReport(reportFd, Report::Exited, WEXITSTATUS(status));
            else
                WriteReport(reportFd, Report::Killed, WTERMSIG(status));
            break;
        }
        if (r < 0 && errno != EINTR)
            break;
        if (NowMs() >= deadline)
            break;
        SleepMs(5);
    }
    _exit(0);
}

ssize_t ReadRetrying(int fd, void* buf, size_t n) {
    ssize_t r;
    do {
        r = read(fd, buf, n);
    } while (r < 0 && errno == EINTR);
    return r;
}

void WaitFor(pid_t pid, int* status) {
    while (waitpid(pid, status, 0) < 0 && errno == EINTR) {
    }
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace

CString CProcess::FindOnPath(const CString& name) {
    const std::string& n = name.Str();
    if (n.empty())
        return CString();
    if (n.find('/') != std::string::npos)
        return IsExecutableFile(n) ? name : CString();
    const char* env = getenv("PATH");
    const std::string path = env ? env : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        // An empty entry would mean the working folder: never run programs found there.
        if (end > start) {
            std::string candidate = path.substr(start, end - start) + "/" + n;
            if (IsExecutableFile(candidate))
                return CString(candidate);
        }
        start = end + 1;
    }
    return CString();
}

CProcess::State CProcess::Start(const std::vector<CString>& args, int waitMs, int* pExitCode,
                                int* pErrno) {
    if (pErrno)
        *pErrno = 0;
    if (args.empty()) {
        if (pErrno)
            *pErrno = EINVAL;
        return FailedToStart;
    }
    CString path = FindOnPath(args[0]);
    if (path.IsEmpty()) {
        if (pErrno)
            *pErrno = ENOENT;
        return FailedToStart;
    }
    ArgumentVector av(path, args);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        if (pErrno)
            *pErrno = errno;
        return FailedToStart;
    }
    pid_t middle = fork();
    if (middle == 0) {
        close(fds[0]);
        RunMiddle(av, fds[1], waitMs < 0 ? 0 : waitMs);
    }
    close(fds[1]);
    if (middle < 0) {
        if (pErrno)
            *pErrno = errno;
        close(fds[0]);
        return FailedToStart;
    }
    // The pipe reaches end of file once the program has started (close-on-exec) and the middle
    // process has ended, so this read also waits for the answer to "did it start?".
    State state = StillRunning;
    Report r;
    while (ReadRetrying(fds[0], &r, sizeof r) == (ssize_t)sizeof r) {
        if (r.kind == Report::ExecFailed) {
            state = FailedToStart;
            if (pErrno)
                *pErrno = r.value;
        } else if (state != FailedToStart) {
            state = Finished;
            if (pExitCode)
                *pExitCode = r.kind == Report::Exited ? r.value : 128 + r.value;
        }
    }
    close(fds[0]);
    int status = 0;
    WaitFor(middle, &status);
    return state;
}

BOOL CProcess::Capture(const std::vector<CString>& args, CString& output, int timeoutMs,
                       size_t maxBytes) {
    output.Empty();
    if (args.empty())
        return FALSE;
    CString path = FindOnPath(args[0]);
    if (path.IsEmpty())
        return FALSE;
    ArgumentVector av(path, args);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return FALSE;
    int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    pid_t child = fork();
    if (child == 0) {
        if (devNull >= 0)
            dup2(devNull, 0);
        dup2(fds[1], 1);
        PrepareChild(-1);
        execv(av.Path(), av.Argv());
        _exit(127);
    }
    close(fds[1]);
    if (devNull >= 0)
        close(devNull);
    if (child < 0) {
        close(fds[0]);
        return FALSE;
    }
    std::string text;
    const long long deadline = NowMs() + timeoutMs;
    bool timedOut = false;
    for (;;) {
        long long left = deadline - NowMs();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd p = {fds[0], POLLIN, 0};
        int n = poll(&p, 1, (int)left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            timedOut = n == 0;
            break;
        }
        char buf[4096];
        ssize_t got = ReadRetrying(fds[0], buf, sizeof buf);
        if (got <= 0)
            break;
        size_t room = maxBytes - text.size();
        text.append(buf, (size_t)got < room ? (size_t)got : room);
    }
    close(fds[0]);
    if (timedOut)
        kill(child, SIGKILL);
    int status = 0;
    WaitFor(child, &status);
    output = CString(text);
    return !timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
