// The temporary files still there go however the program ends: by SIGTERM, SIGINT or SIGHUP
// (and the process then ends by that signal), by an unhandled exception, or by exit. Each case
// runs in a child process of its own.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <functional>

#include "framework/system/TempFile.h"
#include "system_test_support.h"

namespace {

int CountFiles(const ScratchFolder& dir) {
    const std::string listing = dir.Path() + "/listing";
    std::system(("ls '" + dir.Path() + "' | grep -c '^emE' > '" + listing + "'").c_str());
    return std::atoi(dir.Read("listing").c_str());
}

// Makes two temporary files in `dir`, tells the parent through a pipe, then ends as `end` does.
// Returns the child's wait status.
int RunChild(const ScratchFolder& dir, const std::function<void()>& end, int nSignal = 0) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        AfxInstallTempFileCleanup();
        char path[MAX_PATH], name[MAX_PATH];
        ::setenv("TMPDIR", dir.Path().c_str(), 1);
        GetTempPathA(MAX_PATH, path);
        GetTempFileNameA(path, "emE", 0, name);
        GetTempFileNameA(path, "emE", 0, name);
        (void)!::write(fds[1], "x", 1);
        end();
        ::_exit(99);
    }
    ::close(fds[1]);
    char ready;
    (void)!::read(fds[0], &ready, 1);
    ::close(fds[0]);
    if (nSignal != 0)
        ::kill(pid, nSignal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

} // namespace

TEST(TempFileCleanup, EachEndingSignalRemovesTheFilesAndEndsTheProcessByThatSignal) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ScratchFolder dir;
        // The child waits as a program in a long load or behind a message box would.
        const int status = RunChild(
            dir,
            [] {
                for (;;)
                    ::pause();
            },
            sig);
        ASSERT_TRUE(WIFSIGNALED(status)) << strsignal(sig);
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_EQ(CountFiles(dir), 0) << strsignal(sig);
    }
}

TEST(TempFileCleanup, AnUnhandledExceptionAndAnExitRemoveTheFilesToo) {
    ScratchFolder thrown, exited, kept;
    // What an exception that nothing catches comes to.
    const int abortStatus = RunChild(thrown, [] { std::terminate(); });
    EXPECT_TRUE(WIFSIGNALED(abortStatus) && WTERMSIG(abortStatus) == SIGABRT);
    EXPECT_EQ(CountFiles(thrown), 0);
    const int exitStatus = RunChild(exited, [] { std::exit(3); });
    EXPECT_TRUE(WIFEXITED(exitStatus) && WEXITSTATUS(exitStatus) == 3);
    EXPECT_EQ(CountFiles(exited), 0);
    // The check itself: a process killed outright leaves them.
    RunChild(
        kept,
        [] {
            for (;;)
                ::pause();
        },
        SIGKILL);
    EXPECT_EQ(CountFiles(kept), 2);
}
