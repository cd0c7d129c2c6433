// git difftool with varn as its diff tool: real git, the real tool and
// launcher, and a stand-in application that records what it is handed; and
// runs whose session cannot be written as it should. A git difftool names
// its session; a run that no git started (a shell leading a process group
// of its own) falls back on its group, so a test can know the session's
// directory before the run.

#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/SessionKey.hpp"
#include "tests/e2e/PrivateMount.hpp"
#include "tests/e2e/Programs.hpp"
#include "tests/e2e/ReadmeGitConfiguration.hpp"
#include "tests/support/ShellDriver.hpp"

using namespace e2e;
using namespace std::chrono_literals;
using ::testing::MatchesRegex;
using shelldriver::lines;
using testsupport::entriesOf;
using testsupport::readFile;
namespace fs = std::filesystem;

namespace {

struct GroupRun {
    pid_t leader = -1;
    platform::ProcessOutput output;
};

class Difftool : public ::testing::Test {
protected:
    void SetUp() override {
        if (fs::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        ::chmod(temporary.c_str(), 0700);
        tmp.writeFile("app", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + appLog + "'\n", true);
    }

    /// Commits A and B (tagged so), with varn as git's diff tool.
    void makeHistory() {
        git({"init", "-q"});
        git({"config", "diff.tool", "varn"});
        git({"config", "difftool.varn.cmd", varnProgram +
                                                 " _difftool --base \"$BASE\" --local \"$LOCAL\" --remote \"$REMOTE\""
                                                 " --merged \"$MERGED\""});
        tmp.writeFile("repo/a.txt", "a in A\n");
        tmp.writeFile("repo/b.txt", "unchanged\n");
        tmp.writeFile("repo/sub/c.txt", "c in A\n");
        commit("A");
        tmp.writeFile("repo/a.txt", "a in B\n");
        tmp.writeFile("repo/new.txt", "new in B\n");
        tmp.writeFile("repo/sub/c.txt", "c in B\n");
        commit("B");
    }

    void commit(const std::string& tag) {
        git({"add", "."});
        git({"commit", "-q", "-m", tag});
        git({"tag", tag});
    }

    EnvironmentChanges environment(EnvironmentChanges more = {}) const {
        more.emplace("TMPDIR", temporary);
        more.emplace("VARNEL_HOME", tmp / "app");
        return gitEnvironment(tmp / "home", std::move(more));
    }

    void git(const std::vector<std::string>& arguments) const {
        auto ran = run("/usr/bin/git", arguments, root, environment());
        ASSERT_EQ(ran.terminationStatus, 0) << ran.standardError;
    }

    /// Starts `program` in the repository, leading a process group (and
    /// session) of its own.
    platform::Process start(const std::string& program, const std::vector<std::string>& arguments,
                            const EnvironmentChanges& more = {}) const {
        auto started = platform::Process::launch(
            program, arguments,
            {.captureOutput = true, .captureError = true, .nullInput = true, .newSession = true,
             .workingDirectory = root, .environment = environmentWith(environment(more))});
        if (!started) throw std::runtime_error(started.error().description);
        return std::move(*started);
    }

    /// The run's output and status, at most 60 s on; else it is killed.
    static platform::ProcessOutput finish(platform::Process& run) {
        auto captured = run.readToEnd(60s);
        auto status = run.waitUntilExit(5s);
        if (!captured || !status || !*status) {
            (void)run.sendSignal(SIGKILL);
            (void)run.waitUntilExit();
            return {.standardError = "the run did not end", .terminationStatus = -1};
        }
        return {captured->standardOutput, captured->standardError, **status};
    }

    GroupRun runAsGroupLeader(const std::string& program, const std::vector<std::string>& arguments,
                              const EnvironmentChanges& more = {}) const {
        auto process = start(program, arguments, more);
        pid_t leader = process.processIdentifier();
        return {leader, finish(process)};
    }

    GroupRun difftool(const std::vector<std::string>& revisions, const EnvironmentChanges& more = {}) const {
        std::vector<std::string> arguments = {"difftool", "-y"};
        arguments.insert(arguments.end(), revisions.begin(), revisions.end());
        return runAsGroupLeader("/usr/bin/git", arguments, more);
    }

    /// A group leader that waits (at most 10 s) for the file "go", then runs
    /// the tool once on two files of the repository.
    platform::Process startWaitingRun() const {
        fs::remove(tmp / "go");
        return start("/bin/sh", {"-c", "i=0; while [ ! -e " + tmp / "go" + " ] && [ $i -lt 200 ]; do sleep 0.05; "
                                       "i=$((i+1)); done; " + varnProgram + " _difftool --base /dev/null --local " +
                                           root + "/a.txt --remote " + root + "/b.txt --merged " + root + "/a.txt"});
    }

    platform::ProcessOutput go(platform::Process& run) const {
        tmp.writeFile("go", "");
        return finish(run);
    }

    /// The session directories in T: those named by a decimal key.
    std::vector<std::string> sessionDirectories() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(temporary)) {
            auto name = entry.path().filename().string();
            if (entry.is_directory() && std::all_of(name.begin(), name.end(), ::isdigit))
                found.push_back(temporary + "//" + name);
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    /// The directory the session of the run led by `run` lives in, as the
    /// tool names it (T ends in "/").
    std::string sessionDirectory(const platform::Process& run, std::optional<std::string> revspecA = {},
                                 std::optional<std::string> revspecB = {}) const {
        VarnShared::DiffToolSession session{root, run.processIdentifier(), std::move(revspecA), std::move(revspecB)};
        return temporary + "//" + VarnShared::sessionKey(session);
    }

    /// Lays an earlier run's session in `directory`; its record's bytes.
    std::string laySession(const platform::Process& run, const std::string& directory) const {
        VarnShared::DiffToolMetaData record;
        record.repo = root;
        record.pid = run.processIdentifier();
        record.entries.push_back({"/dev/null", root + "/old.txt", root + "/older.txt", root + "/old.txt"});
        auto json = record.encode();
        fs::create_directories(directory);
        fs::permissions(directory, fs::perms::owner_all);
        EXPECT_TRUE(platform::writeFileNoFollow(directory + "/.varnel-difftool", *json));
        return *json;
    }

    static VarnShared::DiffToolMetaData recordIn(const std::string& directory) {
        auto record = VarnShared::DiffToolMetaData::readMetadata(directory);
        if (!record) ADD_FAILURE() << record.error().description;
        return record ? *record : VarnShared::DiffToolMetaData{};
    }

    /// A copy git's temporary file `name` left in `directory`.
    static std::string copyPattern(const std::string& directory, const std::string& name) {
        return "^" + directory + "/" + name + "-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$";
    }

    testsupport::TemporaryDirectory tmp;
    std::string temporary = tmp.makeDirectory("T");
    std::string gitDirectory = tmp.makeDirectory("repo/.git");
    std::string root = tmp / "repo";
    std::string appLog = tmp / "app.log";
    std::string announced = "Using 'VARNEL_HOME' environment variable: " + tmp / "app";
};

}  // namespace

TEST_F(Difftool, OneSessionForTheInvocationWithOneEntryPerChangedFile) {
    makeHistory();
    auto ran = difftool({"A", "B"});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;

    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    const auto& directory = sessions[0];
    auto record = recordIn(directory);
    EXPECT_EQ(record.repo, root);
    EXPECT_EQ(record.pid, ran.leader);
    EXPECT_EQ(record.revspecA, "A");
    EXPECT_EQ(record.revspecB, "B");
    EXPECT_EQ(directory, temporary + "//" + VarnShared::sessionKey(record));

    // git's temporary files are gone once it ends; the copies keep the
    // compared contents. A file new in B has nothing on its left.
    ASSERT_EQ(record.entries.size(), 3u);
    struct Expected {
        std::string name;
        std::optional<std::string> left;
        std::string right;
    } expected[] = {{"a.txt", "a in A\n", "a in B\n"}, {"new.txt", std::nullopt, "new in B\n"},
                    {"c.txt", "c in A\n", "c in B\n"}};
    const std::string merged[] = {root + "/a.txt", root + "/new.txt", root + "/sub/c.txt"};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& entry = record.entries[i];
        EXPECT_EQ(entry.merged, merged[i]);
        EXPECT_EQ(entry.base, merged[i]);
        if (expected[i].left) {
            EXPECT_THAT(entry.local, MatchesRegex(copyPattern(directory, expected[i].name)));
            EXPECT_EQ(readFile(entry.local), *expected[i].left);
        } else {
            EXPECT_EQ(entry.local, "/dev/null");
        }
        EXPECT_THAT(entry.remote, MatchesRegex(copyPattern(directory, expected[i].name)));
        EXPECT_EQ(readFile(entry.remote), expected[i].right);
    }

    // Every run announces the file and hands the session to the application.
    auto writing = "Writing to: " + directory + "/.varnel-difftool";
    EXPECT_EQ(lines(ran.output.standardOutput),
              (std::vector<std::string>{writing, announced, writing, announced, writing, announced}));
    ASSERT_TRUE(awaitFile(appLog));
    EXPECT_EQ(lines(readFile(appLog)), (std::vector<std::string>(3, directory)));
}

// Each git difftool has a session of its own, even in a script that leads
// the process group (no job control), and finds its revisions in its own
// words. A damaged record starts the session afresh.
TEST_F(Difftool, EachInvocationInAScriptHasASessionOfItsOwn) {
    makeHistory();
    auto ran = runAsGroupLeader("/bin/bash", {"-c", "git difftool -y A B && git difftool -y A..B"});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 2u);
    auto first = recordIn(sessions[0]), second = recordIn(sessions[1]);
    EXPECT_NE(first.pid, second.pid);
    for (const auto& record : {first, second}) {
        EXPECT_EQ(record.revspecA, "A");
        EXPECT_EQ(record.revspecB, "B");
        EXPECT_EQ(record.entries.size(), 3u);
    }

    auto run = startWaitingRun();
    auto directory = sessionDirectory(run);
    fs::create_directories(directory);
    fs::permissions(directory, fs::perms::owner_all);
    ASSERT_TRUE(platform::writeFileNoFollow(directory + "/.varnel-difftool", "{\"repo\":"));
    ASSERT_EQ(go(run).terminationStatus, 0);
    EXPECT_EQ(recordIn(directory).entries.size(), 1u);
}

// One file against the work tree, verbose, with git started in another
// directory: its path argument counts from there.
TEST_F(Difftool, AWorkTreeFileInAVerboseRun) {
    makeHistory();
    tmp.writeFile("repo/sub/c.txt", "c edited\n");
    auto ran = runAsGroupLeader("/usr/bin/git",
                                {"-C", "sub", "difftool", "-y", "--tool=varn", "-t", "varn", "A", "c.txt"},
                                {{"VARNEL_VERBOSE", "1"}});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    std::string line = "/usr/bin/git -C sub difftool -y --tool=varn -t varn A c.txt";
    auto printed = lines(ran.output.standardOutput);
    ASSERT_EQ(printed.size(), 7u) << ran.output.standardOutput;
    // The command lines of git's helper shells come before git's own.
    EXPECT_THAT(printed[1], MatchesRegex("^Lines: \\[\".*git-difftool--helper .*\", \"" + line + "\"\\]$"));
    printed.erase(printed.begin() + 1);
    EXPECT_EQ(printed, (std::vector<std::string>{
                           "Group ID: " + std::to_string(ran.leader),
                           "Command line: " + line,
                           "trimmed: [\"-y\", \"--tool=varn\", \"-t\", \"varn\", \"A\", \"c.txt\"]",
                           "trimmed: [\"A\"]",
                           "Writing to: " + sessions[0] + "/.varnel-difftool",
                           announced,
                       }));
    auto record = recordIn(sessions[0]);
    EXPECT_EQ(record.revspecA, "A");
    EXPECT_EQ(record.revspecB, std::nullopt);
    ASSERT_EQ(record.entries.size(), 1u);
    EXPECT_EQ(record.entries[0].remote, root + "/sub/c.txt");
    EXPECT_THAT(record.entries[0].local, MatchesRegex(copyPattern(sessions[0], "c.txt")));
    EXPECT_EQ(readFile(record.entries[0].local), "c in A\n");
}

// Runs that overlap are serialised by the session's lock, so none of their
// entries is lost.
TEST_F(Difftool, FiftyOverlappingRunsOfOneSessionLeaveFiftyEntries) {
    constexpr int runs = 50;
    std::string script;
    for (int i = 0; i < runs; ++i) {
        auto left = tmp.writeFile("left/" + std::to_string(i) + ".txt", std::to_string(i) + "\n");
        script += varnProgram + " _difftool --base /dev/null --local '" + left + "' --remote a.txt --merged a.txt &\n";
    }
    auto ran = runAsGroupLeader("/bin/sh", {tmp.writeFile("fifty.sh", script + "wait\n")});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;

    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    auto record = recordIn(sessions[0]);
    ASSERT_EQ(record.entries.size(), static_cast<std::size_t>(runs));
    std::set<std::string> contents;
    for (const auto& entry : record.entries) {
        EXPECT_EQ(entry.remote, root + "/a.txt");
        contents.insert(readFile(entry.local));
    }
    EXPECT_EQ(contents.size(), static_cast<std::size_t>(runs)) << "every run's own file";
}

// The stand-in application, handed the session by every run, shows each
// pair once, in the session's order, whichever of its deliveries sees it.
TEST_F(Difftool, TheStandInApplicationShowsEachPairOnce) {
    makeHistory();
    auto log = tmp / "stub.log";
    auto stub = binaryDirectory + "/varnel-stub";
    auto ran = difftool({"A", "B"}, {{"VARNEL_HOME", stub}, {"VARNEL_STUB_LOG", log}});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    const auto& directory = sessions[0];

    // The launcher does not wait for the application: wait for its three
    // deliveries to be logged.
    auto logged = [&](const std::string& kind) {
        std::vector<std::string> found;
        for (const auto& line : lines(readFile(log)))
            if (line.find(kind) != line.npos) found.push_back(line);
        return found;
    };
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (logged("\tshown ").size() < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_EQ(logged("\tshown ").size(), 3u) << readFile(log);

    std::vector<std::string> expected;
    for (const auto& entry : recordIn(directory).entries)
        expected.push_back("difftool\t" + directory + "\tpair local=" + entry.local + " remote=" + entry.remote +
                           " merged=" + entry.merged);
    EXPECT_EQ(logged("\tpair "), expected);

    // Handed the session again, it has nothing new to show.
    auto again = run(stub, {directory}, tmp.path(), {{"VARNEL_STUB_LOG", tmp / "again.log"}});
    EXPECT_EQ(again.terminationStatus, 0) << again.standardError;
    EXPECT_EQ(readFile(tmp / "again.log"), "difftool\t" + directory + "\tshown 0 of 3 entries\n");
}

// The record is replaced, never rewritten in place: a write that fails
// leaves the previous session as it was, and nothing half-written beside it,
// not even a copy of a file git left outside the repository.
TEST_F(Difftool, AWriteOrCopyThatFailsKeepsThePreviousSession) {
    enum { full, readOnly, copyTooLarge };
    for (int fault : {full, readOnly, copyTooLarge}) {
        SCOPED_TRACE(fault);
        std::string whyNot;
        auto mount = PrivateMount::make(temporary, 64, whyNot);
        if (!mount) GTEST_SKIP() << whyNot;
        if (fault == copyTooLarge)
            tmp.makeLink("repo/a.txt", tmp.writeFile("git-blob-a.txt", std::string(256 * 1024, 'a')));
        auto run = startWaitingRun();
        auto directory = sessionDirectory(run);
        auto previous = laySession(run, directory);
        if (fault != copyTooLarge) {
            ASSERT_TRUE(fault == readOnly ? mount->makeReadOnly() : mount->fill("filler"));
        }

        auto ended = go(run);
        EXPECT_EQ(ended.terminationStatus, 1);
        if (fault == copyTooLarge) {
            EXPECT_THAT(ended.standardError, MatchesRegex("^Error: Cannot copy " + root + "/a.txt to " + directory +
                                                          "/a.txt-[-0-9A-F]{36}: No space left on device\n$"));
        } else {
            EXPECT_EQ(ended.standardError, "Error: Cannot write file " + directory + "/.varnel-difftool: " +
                                               (fault == readOnly ? "Read-only file system" : "No space left on device") +
                                               "\n");
        }
        EXPECT_EQ(readFile(directory + "/.varnel-difftool"), previous);
        EXPECT_EQ(entriesOf(directory), std::set<std::string>{".varnel-difftool"});
        EXPECT_FALSE(fs::exists(appLog));
    }
}

TEST_F(Difftool, ASessionDirectoryThatIsALinkOrNotOursIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "a directory of another user needs root to make";
    auto elsewhere = tmp.makeDirectory("elsewhere");
    for (bool link : {true, false}) {
        SCOPED_TRACE(link ? "link" : "another user's");
        auto run = startWaitingRun();
        auto directory = sessionDirectory(run);
        if (link) {
            fs::create_directory_symlink(elsewhere, directory);
        } else {
            fs::create_directory(directory);
            ASSERT_EQ(::chown(directory.c_str(), 65534, 65534), 0);
        }
        auto ended = go(run);
        EXPECT_EQ(ended.terminationStatus, 1);
        EXPECT_EQ(ended.standardOutput, "");
        EXPECT_EQ(ended.standardError, "Error: Refusing to use the session directory " + directory + ": " +
                                           (link ? "it is a symbolic link" : "it is owned by another user (uid 65534)") +
                                           "\n");
        EXPECT_TRUE(fs::is_empty(elsewhere));
        EXPECT_FALSE(fs::exists(appLog));
    }
}

// git's words are read as git holds them, never through a shell or ps: an
// --extcmd value and a revision with blanks stay whole.
TEST_F(Difftool, GitsWordsAreReadAsGitHoldsThemWithoutPs) {
    makeHistory();
    git({"commit", "-q", "--allow-empty", "-m", "fix the build"});
    auto tool = tmp.writeFile("tool",
                              "#!/bin/sh\nshift\nexec " + varnProgram +
                                  " _difftool --base \"$2\" --local \"$1\" --remote \"$2\" --merged \"$2\"\n",
                              true);
    auto ps = tmp.writeFile("bin/ps", "#!/bin/sh\ntouch " + tmp / "ps-ran" + "\nexit 1\n", true);
    auto path = platform::deletingLastPathComponent(ps) + ":" + *platform::environmentValue("PATH");
    auto ran = difftool({"--extcmd", tool + " fast", "A", ":/fix the"}, {{"PATH", path}});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    auto record = recordIn(sessions[0]);
    EXPECT_EQ(record.revspecA, "A");
    EXPECT_EQ(record.revspecB, ":/fix the");
    EXPECT_EQ(record.entries.size(), 3u);
    EXPECT_FALSE(fs::exists(tmp / "ps-ran"));
}

// git difftool -d runs the tool once on two directories that it removes
// afterwards; links on the right lead into the work tree where it matches.
TEST_F(Difftool, ADirectoryComparisonHandsOverEveryChangedFileOnce) {
    makeHistory();
    git({"rm", "-q", "b.txt"});
    commit("C");
    tmp.writeFile("repo/a.txt", "a edited\n");
    auto ran = difftool({"-d", "A", "C"});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    const auto& directory = sessions[0];
    EXPECT_EQ(lines(ran.output.standardOutput),
              (std::vector<std::string>{"Writing to: " + directory + "/.varnel-difftool", announced}));
    auto record = recordIn(directory);
    EXPECT_EQ(record.pid, ran.leader);
    EXPECT_EQ(record.revspecA, "A");
    EXPECT_EQ(record.revspecB, "C");

    // Each side: a copy holding a content, nothing, or the work-tree file.
    const std::string none = "/dev/null", workTree = "the work-tree file";
    const std::string expected[][3] = {{"a.txt", "a in A\n", "a in B\n"},
                                       {"b.txt", "unchanged\n", none},
                                       {"new.txt", none, workTree},
                                       {"sub/c.txt", "c in A\n", workTree}};
    ASSERT_EQ(record.entries.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& entry = record.entries[i];
        const auto& name = expected[i][0];
        EXPECT_EQ(entry.merged, root + "/" + name);
        EXPECT_EQ(entry.base, entry.merged);
        for (auto [recorded, side] : {std::pair{entry.local, expected[i][1]}, {entry.remote, expected[i][2]}}) {
            if (side == none || side == workTree) {
                EXPECT_EQ(recorded, side == none ? none : entry.merged) << name;
            } else {
                EXPECT_THAT(recorded, MatchesRegex(copyPattern(directory, platform::lastPathComponent(name))));
                EXPECT_EQ(readFile(recorded), side) << name;
            }
        }
    }
    ASSERT_TRUE(awaitFile(appLog));
    EXPECT_EQ(readFile(appLog), directory + "\n");
}

// README.md's configuration, as git reads it: every changed file joins one
// session, and a hand-off that fails stops git difftool with a failure.
TEST_F(Difftool, TheReadmeConfigurationIsWhatGitReads) {
    makeHistory();
    git({"config", "--remove-section", "difftool.varn"});
    git({"config", "--unset", "diff.tool"});
    for (const auto& command : readmeGitConfiguration()) git(command);
    for (bool fails : {false, true}) {
        EnvironmentChanges more{pathWithVarn()};
        if (fails) more.emplace("VARNEL_HOME", tmp / "missing");
        auto ran = difftool({"A", "B"}, more);
        EXPECT_EQ(ran.output.terminationStatus != 0, fails) << ran.output.standardError;
        VarnShared::DiffToolSession session{root, ran.leader, "A", "B"};
        EXPECT_EQ(recordIn(temporary + "//" + VarnShared::sessionKey(session)).entries.size(), fails ? 1u : 3u);
    }
}

// Standard output that cannot be written costs no record: the session is
// written and handed over, and then the run fails.
TEST_F(Difftool, OutputThatCannotBeWrittenCostsNoRecord) {
    tmp.writeFile("repo/a.txt", "");
    auto file = root + "/a.txt";
    auto ran = runAsGroupLeader("/bin/bash", {"-c", "exec > >(exec true); wait $!; exec \"$0\" \"$@\"", varnProgram,
                                              "_difftool", "--base", file, "--local", file, "--remote", file,
                                              "--merged", file});
    EXPECT_EQ(ran.output.terminationStatus, 1);
    EXPECT_EQ(ran.output.standardError, "Error: Cannot write to standard output: Broken pipe\n");
    VarnShared::DiffToolSession session{root, ran.leader, std::nullopt, std::nullopt};
    auto directory = temporary + "//" + VarnShared::sessionKey(session);
    EXPECT_EQ(recordIn(directory).entries.size(), 1u);
    EXPECT_EQ(awaitFile(appLog), directory + "\n");
}
