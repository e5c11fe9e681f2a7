#include "framework/system/Process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>

#include "system_test_support.h"

namespace {

bool HasChildren() {
    errno = 0;
    return !(waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

long long ElapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 since)
        .count();
}

TEST(Process, ReportsStartExitAndFailure) {
    ScratchFolder dir;
    dir.Write("not-executable", "#!/bin/sh\n");
    struct Case {
        std::vector<CString> args;
        int waitMs;
        CProcess::State state;
        int exitCode;
    } cases[] = {
        {{"true"}, 5000, CProcess::Finished, 0},
        {{"sh", "-c", "exit 7"}, 5000, CProcess::Finished, 7},
        {{"sleep", "5"}, 50, CProcess::StillRunning, -1},
        {{"sleep", "5"}, 0, CProcess::StillRunning, -1},
        {{"no-such-program-anywhere"}, 1000, CProcess::FailedToStart, -1},
        {{CString((dir.Path() + "/not-executable").c_str())}, 1000, CProcess::FailedToStart, -1},
        {{"/"}, 1000, CProcess::FailedToStart, -1},
        {{}, 1000, CProcess::FailedToStart, -1},
    };
    for (const Case& c : cases) {
        int code = -1;
        EXPECT_EQ(CProcess::Start(c.args, c.waitMs, &code), c.state)
            << (c.args.empty() ? "" : c.args[0].GetString());
        EXPECT_EQ(code, c.exitCode);
        EXPECT_FALSE(HasChildren()) << "a started program must never become our child";
    }
}

TEST(Process, PassesEveryArgumentLiterallyWithoutAShell) {
    ScratchFolder dir;
    std::string script = dir.Write(
        "args", "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$OUT\"\n", true);
    ScopedEnv out("OUT", dir.Path() + "/out");
    std::vector<CString> args = {CString(script.c_str()),
                                 "http://x/?a=1&b=2",
                                 "; touch pwned",
                                 "$(id)",
                                 "two words",
                                 "\"quoted\"",
                                 ""};
    ASSERT_EQ(CProcess::Start(args, 5000), CProcess::Finished);
    EXPECT_EQ(dir.Read("out"),
              "[http://x/?a=1&b=2][; touch pwned][$(id)][two words][\"quoted\"][]");
}

TEST(Process, StartReturnsWithoutWaitingForTheProgram) {
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(CProcess::Start({"sleep", "3"}), CProcess::StillRunning);
    EXPECT_LT(ElapsedMs(t0), 1000);
}

TEST(Process, StartedProgramDoesNotInheritOurFiles) {
    ScratchFolder dir;
    int fd = open("/dev/null", O_RDONLY); // deliberately without close-on-exec
    ASSERT_GE(fd, 3);
    std::string script = dir.Write(
        "fds", "#!/bin/sh\n[ -e /proc/$$/fd/" + std::to_string(fd) + " ] && exit 1; exit 0\n",
        true);
    int code = -1;
    EXPECT_EQ(CProcess::Start({CString(script.c_str())}, 5000, &code), CProcess::Finished);
    EXPECT_EQ(code, 0);
    close(fd);
}

TEST(Process, CaptureCollectsOutputBoundedAndTimed) {
    CString out;
    EXPECT_TRUE(CProcess::Capture({"echo", "hello world"}, out, 5000));
    EXPECT_EQ(out, "hello world\n");

    EXPECT_FALSE(CProcess::Capture({"sh", "-c", "echo partial; exit 3"}, out, 5000));
    EXPECT_EQ(out, "partial\n");

    EXPECT_TRUE(CProcess::Capture({"head", "-c", "100000", "/dev/zero"}, out, 5000, 10));
    EXPECT_EQ(out.GetLength(), 10);

    auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(CProcess::Capture({"sleep", "10"}, out, 100));
    EXPECT_LT(ElapsedMs(t0), 2000);
    EXPECT_FALSE(HasChildren());

    EXPECT_FALSE(CProcess::Capture({"no-such-program-anywhere"}, out, 1000));
}

TEST(Process, FindOnPathSkipsWhatCannotRun) {
    ScratchFolder a, b;
    a.Write("tool", "x"); // not executable: the later one is found
    std::string runnable = b.Write("tool", "#!/bin/sh\n", true);
    ScopedEnv path("PATH", "::" + a.Path() + ":" + b.Path());
    EXPECT_EQ(CProcess::FindOnPath("tool"), CString(runnable.c_str()));
    EXPECT_EQ(CProcess::FindOnPath(CString(runnable.c_str())), CString(runnable.c_str()));
    EXPECT_TRUE(CProcess::FindOnPath("missing").IsEmpty());
    EXPECT_TRUE(CProcess::FindOnPath("").IsEmpty());
    EXPECT_TRUE(CProcess::FindOnPath(CString((a.Path() + "/tool").c_str())).IsEmpty());
}

} // namespace
