// Child processes, what the process knows of itself, and the order of what
// it and its children write to standard output.

#include "platform/Process.hpp"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/StandardOutput.hpp"
#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using namespace platform;
using namespace std::chrono_literals;

namespace {

constexpr auto limit = 30s;

ProcessOutput shell(const std::string& script, ProcessOptions options = {}) {
    auto ran = runCollectingOutput("/bin/sh", {"-c", script}, options, limit);
    EXPECT_TRUE(ran) << (ran ? "" : ran.error().description);
    return ran ? *ran : ProcessOutput{};
}

}  // namespace

TEST(Process, LaunchFailureIsAnErrorNamingTheProgram) {
    testsupport::TemporaryDirectory tmp;
    for (const auto& c : {std::pair{tmp / "missing", ENOENT}, {tmp.writeFile("plain", "not a program"), EACCES}}) {
        auto started = Process::launch(c.first, {});
        ASSERT_FALSE(started) << c.first;
        EXPECT_EQ(started.error().domain, "NSPOSIXErrorDomain");
        EXPECT_EQ(started.error().code, c.second);
        EXPECT_NE(started.error().description.find(c.first), std::string::npos) << started.error().description;
    }
}

TEST(Process, TerminationStatusIsTheExitStatusOrTheSignal) {
    auto exited = shell("exit 3");
    EXPECT_EQ(exited.terminationReason, TerminationReason::exit);
    EXPECT_EQ(exited.terminationStatus, 3);

    auto killed = shell("kill -TERM $$");
    EXPECT_EQ(killed.terminationReason, TerminationReason::uncaughtSignal);
    EXPECT_EQ(killed.terminationStatus, SIGTERM);

    auto started = Process::launch("/bin/sh", {"-c", "exit 0"});
    ASSERT_TRUE(started);
    EXPECT_EQ(started->waitUntilExit().value(), 0);
    EXPECT_TRUE(started->hasExited());
}

TEST(Process, CollectsBothStreamsToTheEnd) {
    auto small = shell("printf 'a\\nb'; printf err >&2; printf c", {.captureError = true});
    EXPECT_EQ(small.standardOutput, "a\nbc");
    EXPECT_EQ(small.standardError, "err");

    // More than a pipe holds, on both streams at once: neither may block the other.
    auto large = shell("head -c 300000 /dev/zero >&2; head -c 400000 /dev/zero", {.captureError = true});
    EXPECT_EQ(large.standardOutput.size(), 400000u);
    EXPECT_EQ(large.standardError.size(), 300000u);
}

TEST(Process, OptionsShapeTheChild) {
    testsupport::TemporaryDirectory tmp;
    EXPECT_EQ(shell("cat; echo done", {.nullInput = true}).standardOutput, "done\n");
    EXPECT_EQ(shell("pwd", {.workingDirectory = tmp.path()}).standardOutput, tmp.path() + "\n");
    auto environment = runCollectingOutput("/usr/bin/env", {}, {.environment = std::vector<std::string>{"A=1", "B="}},
                                           limit);
    EXPECT_EQ(environment.value().standardOutput, "A=1\nB=\n");

    // SIGPIPE's default action, even where this process ignores it.
    auto ignoring = ::signal(SIGPIPE, SIG_IGN);
    EXPECT_EQ(shell("kill -PIPE $$").terminationStatus, SIGPIPE);
    ::signal(SIGPIPE, ignoring);

    auto session = Process::launch("/bin/sleep", {"30"}, {.newSession = true});
    ASSERT_TRUE(session);
    EXPECT_EQ(::getsid(session->processIdentifier()), session->processIdentifier());
    ASSERT_TRUE(session->sendSignal(SIGKILL));
    EXPECT_EQ(session->waitUntilExit().value(), SIGKILL);
}

TEST(Process, WaitsAreBounded) {
    auto sleeper = Process::launch("/bin/sleep", {"30"});
    ASSERT_TRUE(sleeper);
    EXPECT_EQ(sleeper->waitUntilExit(50ms).value(), std::nullopt);
    ASSERT_TRUE(sleeper->sendSignal(SIGKILL));
    EXPECT_EQ(sleeper->waitUntilExit(limit).value(), std::optional<int>(SIGKILL));

    auto start = std::chrono::steady_clock::now();
    auto overdue = runCollectingOutput("/bin/sleep", {"30"}, {}, 200ms);
    ASSERT_FALSE(overdue);
    EXPECT_EQ(overdue.error().code, ETIMEDOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

// Standard output is a pipe here, so fully buffered: whatever the parent
// wrote before a start must still come before the child's output.
TEST(Process, ParentOutputPrecedesTheChildsOnAPipe) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::cout.flush();
    std::fflush(stdout);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(ends[1], STDOUT_FILENO);
        ::close(ends[0]);
        ::close(ends[1]);
        std::cout << "one\n";
        std::printf("two\n");
        auto echo = Process::launch("/bin/echo", {"three"});
        if (echo) (void)echo->waitUntilExit();
        std::cout << "four\n";
        std::cout.flush();
        ::_exit(echo ? 0 : 1);
    }
    ::close(ends[1]);
    std::string text;
    char buffer[256];
    pollfd watched{ends[0], POLLIN, 0};
    while (::poll(&watched, 1, 10000) > 0) {
        auto n = ::read(ends[0], buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(ends[0]);
    ::kill(pid, SIGKILL);  // in case it hangs; harmless once it has ended
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(text, "one\ntwo\nthree\nfour\n");
}

// The lazily built standard output stream writes through stdio, so its text
// keeps its place among stdio's and one flush of stdout sends it on.
TEST(StandardOutput, InterleavesWithStdioInOrder) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    std::fputs("one ", stdout);
    platform::standardOutput() << "two " << 3 << ' ';
    std::fputs("four", stdout);
    platform::standardOutput() << '\n';
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "one two 3 four\n");
    EXPECT_TRUE(platform::standardOutput().good());
}

TEST(ProcessInfo, EnvironmentTellsUnsetFromEmpty) {
    {
        testsupport::ScopedVariable unset("VARN_TEST_VARIABLE", std::nullopt);
        EXPECT_EQ(environmentValue("VARN_TEST_VARIABLE"), std::nullopt);
    }
    testsupport::ScopedVariable empty("VARN_TEST_VARIABLE", "");
    EXPECT_EQ(environmentValue("VARN_TEST_VARIABLE"), std::optional<std::string>(""));
}

TEST(ProcessInfo, IdentifiersAndExecutable) {
    EXPECT_EQ(processGroupIdentifier().value(), ::getpgrp());
    EXPECT_FALSE(processGroupIdentifier(-5));
    auto executable = executablePath();
    ASSERT_TRUE(executable);
    EXPECT_EQ(lastPathComponent(*executable), "unit_tests");
    EXPECT_EQ(resolvingSymlinksInPath(*executable), *executable);
}

TEST(ProcessInfo, AnotherProcessesParentAndWordsAsItHoldsThem) {
    std::vector<std::string> words = {"-c", "sleep 10; :", "a  b", "", "'c'"};
    auto child = Process::launch("/bin/sh", words);
    ASSERT_TRUE(child);
    words.insert(words.begin(), "/bin/sh");
    // The words become readable a moment after the start.
    auto read = argumentsOfProcess(child->processIdentifier());
    for (int i = 0; i < 200 && !read; ++i, std::this_thread::sleep_for(10ms))
        read = argumentsOfProcess(child->processIdentifier());
    EXPECT_EQ(read, words);
    EXPECT_EQ(parentProcessIdentifier(child->processIdentifier()), ::getpid());
    (void)child->sendSignal(SIGKILL);
    (void)child->waitUntilExit();
    EXPECT_EQ(argumentsOfProcess(child->processIdentifier()), std::nullopt);
    EXPECT_EQ(parentProcessIdentifier(child->processIdentifier()), std::nullopt);
}
