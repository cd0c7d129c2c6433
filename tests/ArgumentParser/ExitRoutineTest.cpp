// The main entry in real processes: exact bytes on each stream and the
// exit status of a run.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "ArgumentParser/ExitRoutine.hpp"
#include "ArgumentParser/Declarations.hpp"
#include "ArgumentParser/HelpGenerator.hpp"
#include "platform/StandardOutput.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using namespace ap;

namespace {

struct Invalid : ParsableCommand {
    static constexpr std::string_view typeName = "Invalid";
    static CommandConfiguration configuration() { return {.commandName = "invalid"}; }
    Result<void> run() override { return ValidationError{"Nothing to do."}; }
};
struct Three : ParsableCommand {
    static constexpr std::string_view typeName = "Three";
    static CommandConfiguration configuration() { return {.commandName = "three"}; }
    Result<void> run() override { return ExitCode{3}; }
};
struct Broken : ParsableCommand {
    static constexpr std::string_view typeName = "Broken";
    static CommandConfiguration configuration() { return {.commandName = "broken"}; }
    Result<void> run() override {
        std::printf("partial output");  // still buffered when the error is written
        return platform::Error{"NSURLErrorDomain", -3001, "No repository found at: /nowhere", "/nowhere"};
    }
};
struct Chatty : ParsableCommand {
    static constexpr std::string_view typeName = "Chatty";
    static CommandConfiguration configuration() { return {.commandName = "chatty"}; }
    Result<void> run() override {
        platform::standardOutput() << "done\n";
        return {};
    }
};
struct Leaf : ParsableCommand {
    static constexpr std::string_view typeName = "Leaf";
    static CommandConfiguration configuration() { return {.commandName = "leaf", .abstract = "A leaf."}; }
};
// Has subcommands but no default, and keeps the default run.
struct Group : ParsableCommand {
    static constexpr std::string_view typeName = "Group";
    static CommandConfiguration configuration() {
        return {.commandName = "group", .abstract = "A group.", .subcommands = {typeOf<Leaf>}};
    }
};
struct Runner : ParsableCommand {
    static constexpr std::string_view typeName = "Runner";
    static CommandConfiguration configuration() {
        return {.commandName = "runner",
                .subcommands = {typeOf<Invalid>, typeOf<Three>, typeOf<Broken>, typeOf<Chatty>, typeOf<Group>}};
    }
};

struct Run {
    std::string out;
    std::string err;
    int status = -1;
};

// Runs the main entry in a child; with `oneStream` both streams go to one
// file (`out`), with `output` standard output goes there instead.
Run runMain(const CommandType& root, std::vector<std::string> arguments, bool oneStream = false,
            const char* output = nullptr) {
    char outPath[] = "/tmp/exit-routine-out-XXXXXX";
    char errPath[] = "/tmp/exit-routine-err-XXXXXX";
    int out = mkstemp(outPath), err = mkstemp(errPath);
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(output ? open(output, O_WRONLY) : out, STDOUT_FILENO);
        dup2(oneStream ? out : err, STDERR_FILENO);
        setenv("COLUMNS", "80", 1);
        arguments.insert(arguments.begin(), root.commandName());
        std::vector<char*> argv;
        for (auto& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        ap::main(root, static_cast<int>(arguments.size()), argv.data());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    Run run{testsupport::readFile(outPath), testsupport::readFile(errPath), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    close(out);
    close(err);
    unlink(outPath);
    unlink(errPath);
    return run;
}

}  // namespace

// Help, parse failures and successful runs through the main entry, byte for
// byte, are checked on the built tool by the end-to-end tests.
TEST(ExitRoutine, FailuresOfARun) {
    auto run = runMain(typeOf<Runner>(), {"invalid"});
    EXPECT_EQ(run.err,
              "Error: Nothing to do.\n"
              "Usage: runner <subcommand>\n"
              "  See 'runner --help' for more information.\n");
    EXPECT_EQ(run.status, 64);

    run = runMain(typeOf<Runner>(), {"three"});
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_EQ(run.status, 3);

    // Standard output is flushed before the message, so one pipe keeps the order.
    run = runMain(typeOf<Runner>(), {"broken"}, true);
    EXPECT_EQ(run.out, "partial outputError: No repository found at: /nowhere\n");
    EXPECT_EQ(run.status, 1);
}

// Output that never arrived turns a success into a failure; a failure
// keeps its own status.
TEST(ExitRoutine, OutputThatCannotBeWritten) {
    auto run = runMain(typeOf<Runner>(), {"chatty"}, false, "/dev/full");
    EXPECT_EQ(run.err, "Error: Cannot write to standard output: No space left on device\n");
    EXPECT_EQ(run.status, 1);
    run = runMain(typeOf<Runner>(), {"broken"}, false, "/dev/full");
    EXPECT_EQ(run.err, "Error: No repository found at: /nowhere\n");
    EXPECT_EQ(run.status, 1);
}

TEST(ExitRoutine, TheDefaultRunShowsTheChosenCommandsHelp) {
    auto run = runMain(typeOf<Runner>(), {"group"});
    EXPECT_EQ(run.out,
              HelpGenerator({&typeOf<Runner>(), &typeOf<Group>()}, ArgumentVisibility::default_).rendered(80) + "\n");
    EXPECT_TRUE(run.out.starts_with("OVERVIEW: A group.\n\nUSAGE: runner group <subcommand>\n")) << run.out;
    EXPECT_EQ(run.status, 0);
}
