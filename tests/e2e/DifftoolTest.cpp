// git difftool with varn as its diff tool, set up as README.md says: real
// git, the real tool and launcher, the recording application; and runs
// whose session cannot be written as it should. A git difftool names its
// session; a run that no git started (a shell leading a process group of
// its own) falls back on its group, so a test can know the session's
// directory before the run.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <tuple>

#include <gmock/gmock.h>

#include "platform/FileSystem.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/SessionKey.hpp"
#include "tests/support/EndToEnd.hpp"
#include "tests/support/PrivateMount.hpp"

using namespace testsupport;
using ::testing::MatchesRegex;
using VarnShared::DiffToolMetaData;
namespace fs = std::filesystem;

namespace {

struct GroupRun {
    pid_t leader = -1;
    platform::ProcessOutput output;
};

class Difftool : public EndToEnd {
protected:
    /// Commits A and B (tagged so).
    void makeHistory() {
        git({"init", "-q"}, root);
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
        git({"add", "."}, root);
        git({"commit", "-q", "-m", tag}, root);
        git({"tag", tag}, root);
    }

    /// `program` run in the repository, leading a process group (and
    /// session) of its own.
    GroupRun runAsGroupLeader(const std::string& program, const std::vector<std::string>& arguments,
                              const EnvironmentChanges& more = {}) const {
        auto process = start(program, arguments, root, environment(more), true);
        return {process.processIdentifier(), finish(process)};
    }

    GroupRun difftool(std::vector<std::string> arguments, const EnvironmentChanges& more = {}) const {
        arguments.insert(arguments.begin(), {"difftool", "-y"});
        return runAsGroupLeader("/usr/bin/git", arguments, more);
    }

    /// A group leader that waits (at most 10 s) for the file "go", then runs
    /// the tool once on two files of the repository.
    platform::Process startWaitingRun() const {
        fs::remove(tmp / "go");
        return start("/bin/sh",
                     {"-c",
                      "i=0; while [ ! -e " + tmp / "go" +
                          " ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); "
                          "done; exec varn _difftool --base /dev/null --local a.txt --remote b.txt --merged a.txt"},
                     root, environment(), true);
    }

    /// The directory of the session of a run in the group `leader`, in T
    /// (which ends in "/") or in the `TMPDIR` given.
    std::string sessionDirectory(pid_t leader, std::optional<std::string> revspecA = {},
                                 std::optional<std::string> revspecB = {}, std::string tmpdir = {}) const {
        return (tmpdir.empty() ? temporary : tmpdir) + "//" +
               VarnShared::sessionKey({root, leader, std::move(revspecA), std::move(revspecB)});
    }

    /// Lays an earlier run's session in `directory`; its record's bytes.
    std::string laySession(pid_t leader, const std::string& directory) const {
        DiffToolMetaData record;
        record.repo = root;
        record.pid = leader;
        record.entries.push_back({"/dev/null", root + "/old.txt", root + "/older.txt", root + "/old.txt"});
        auto json = record.encode();
        fs::create_directories(directory);
        fs::permissions(directory, fs::perms::owner_all);
        EXPECT_TRUE(platform::writeFileAtomically(directory + "/.varnel-difftool", *json));
        return *json;
    }

    static DiffToolMetaData recordIn(const std::string& directory) {
        return DiffToolMetaData::readMetadata(directory).value();  // throws, failing the test, without one
    }

    /// The session's entries, one a row: the file, then what each side
    /// holds: nothing, the work-tree file, or a copy in the session of the
    /// content given; base and merged name the work-tree file.
    void expectEntries(const std::string& directory, const std::vector<std::array<std::string, 3>>& rows) const {
        auto record = recordIn(directory);
        ASSERT_EQ(record.entries.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& entry = record.entries[i];
            const auto& name = rows[i][0];
            EXPECT_EQ(entry.merged, root + "/" + name);
            EXPECT_EQ(entry.base, entry.merged);
            for (auto [recorded, side] : {std::pair{entry.local, rows[i][1]}, {entry.remote, rows[i][2]}}) {
                if (side == none || side == workTree) {
                    EXPECT_EQ(recorded, side == none ? none : entry.merged) << name;
                } else {
                    EXPECT_THAT(recorded, MatchesRegex("^" + directory + "/" + fs::path(name).filename().string() +
                                                       "-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"));
                    EXPECT_EQ(readFile(recorded), side) << name;
                }
            }
        }
    }
    static inline const std::string none = "/dev/null", workTree = "the work-tree file";
};

}  // namespace

// TMPDIR lies inside the repository, as some set it: git's temporary files
// are in the work tree, and copied all the same.
TEST_F(Difftool, OneSessionForTheInvocationWithOneEntryPerChangedFile) {
    makeHistory();
    auto inside = tmp.makeDirectory("repo/tmp", 0700);
    // The stand-in application shows it too.
    auto ran = difftool({"A", "B"}, {{"VARNEL_STUB_MERGE", "ok"}, {"TMPDIR", inside}});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;

    auto directory = sessionDirectory(ran.leader, "A", "B", inside);
    EXPECT_EQ(entriesOf(inside).size(), 1u);
    EXPECT_EQ(static_cast<VarnShared::DiffToolSession>(recordIn(directory)),
              (VarnShared::DiffToolSession{root, ran.leader, "A", "B"}));
    // git's temporary files are gone once it ends; the copies keep the
    // compared contents. A file new in B has nothing on its left.
    expectEntries(directory, {{"a.txt", "a in A\n", "a in B\n"},
                              {"new.txt", none, "new in B\n"},
                              {"sub/c.txt", "c in A\n", "c in B\n"}});

    // Every run announces the file and hands the session to the application.
    auto writing = "Writing to: " + directory + "/.varnel-difftool\n";
    EXPECT_EQ(ran.output.standardOutput, writing + announced + writing + announced + writing + announced);
    EXPECT_EQ(handedOver(3), (std::vector<std::string>(3, directory)));

    // The stand-in, handed the session by every run, shows each pair once, in
    // the session's order, whichever of its deliveries sees it; handed the
    // session again, it has nothing new to show.
    auto logged = [&](const std::string& kind) {
        std::vector<std::string> found;
        for (const auto& line : lines(readFile(stubLog)))
            if (line.find(kind) != line.npos) found.push_back(line);
        return found;
    };
    ASSERT_TRUE(eventually([&] { return logged("\tshown ").size() == 3; })) << readFile(stubLog);
    std::vector<std::string> expected;
    for (const auto& entry : recordIn(directory).entries)
        expected.push_back("difftool\t" + directory + "\tpair local=" + entry.local + " remote=" + entry.remote +
                           " merged=" + entry.merged);
    EXPECT_EQ(logged("\tpair "), expected);
    EXPECT_EQ(run(stubProgram, {directory}, root, environment()).terminationStatus, 0);
    EXPECT_EQ(lines(readFile(stubLog)).back(), "difftool\t" + directory + "\tshown 0 of 3 entries");

    // A hand-off that fails stops git difftool with a failure, as git
    // believes the tool's status.
    auto failed = difftool({"A", "B"}, {{"VARNEL_HOME", tmp / "missing"}});
    EXPECT_NE(failed.output.terminationStatus, 0);
    EXPECT_EQ(recordIn(sessionDirectory(failed.leader, "A", "B")).entries.size(), 1u);
}

// Each git difftool has a session of its own, even in a script that leads
// the process group (no job control), and finds its revisions in its own
// words: git diff's options take their values, and before a "--" a branch
// "docs" beside a directory docs/ is a revision. A damaged record starts
// the session afresh.
TEST_F(Difftool, EachInvocationInAScriptHasASessionOfItsOwn) {
    makeHistory();
    git({"branch", "docs", "B"}, root);
    tmp.writeFile("repo/docs/index.md", "");
    tmp.writeFile("repo/order.txt", "sub/c.txt\n");
    tmp.writeFile("repo/a.txt", "a edited\n");
    auto ran = runAsGroupLeader("/bin/bash", {"-c",
                                              "git difftool -y A B && git difftool -y A..B && "
                                              "git difftool -y -O order.txt A B && git difftool -y docs -- a.txt && "
                                              "git difftool -y A docs -- a.txt"});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    using Session = std::tuple<std::optional<std::string>, std::optional<std::string>, std::size_t>;
    std::multiset<Session> sessions;
    std::set<std::int32_t> pids;
    for (const auto& name : entriesOf(temporary)) {
        auto record = recordIn(temporary + "/" + name);
        sessions.emplace(record.revspecA, record.revspecB, record.entries.size());
        pids.insert(record.pid.value_or(0));
    }
    EXPECT_EQ(pids.size(), 5u);
    EXPECT_EQ(sessions,
              (std::multiset<Session>{{"A", "B", 3}, {"A", "B", 3}, {"A", "B", 3}, {"docs", {}, 1}, {"A", "docs", 1}}));

    auto run = startWaitingRun();
    auto directory = sessionDirectory(run.processIdentifier());
    laySession(run.processIdentifier(), directory);
    ASSERT_TRUE(platform::writeFileAtomically(directory + "/.varnel-difftool", "{\"repo\":"));
    tmp.writeFile("go", "");
    ASSERT_EQ(finish(run).terminationStatus, 0);
    EXPECT_EQ(recordIn(directory).entries.size(), 1u);
}

// One file against the work tree, verbose, with git started in another
// directory: its path argument counts from there, and so, with --relative,
// do the files git names.
TEST_F(Difftool, AWorkTreeFileInAVerboseRun) {
    makeHistory();
    tmp.writeFile("repo/sub/c.txt", "c edited\n");
    auto ran = runAsGroupLeader("/usr/bin/git",
                                {"-C", "sub", "difftool", "-y", "--relative", "--tool=varn", "-t", "varn", "A",
                                 "c.txt"},
                                {{"VARNEL_VERBOSE", "1"}});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto directory = sessionDirectory(ran.leader, "A");
    std::string line = "/usr/bin/git -C sub difftool -y --relative --tool=varn -t varn A c.txt";
    auto printed = lines(ran.output.standardOutput);
    ASSERT_EQ(printed.size(), 7u) << ran.output.standardOutput;
    // The command lines of git's helper shells come before git's own.
    EXPECT_THAT(printed[1], MatchesRegex("^Lines: \\[\".*git-difftool--helper .*\", \"" + line + "\"\\]$"));
    printed.erase(printed.begin() + 1);
    EXPECT_EQ(printed, (std::vector<std::string>{
                           "Group ID: " + std::to_string(ran.leader),
                           "Command line: " + line,
                           "trimmed: [\"-y\", \"--relative\", \"--tool=varn\", \"-t\", \"varn\", \"A\", "
                           "\"c.txt\"]",
                           "trimmed: [\"A\"]",
                           "Writing to: " + directory + "/.varnel-difftool",
                           lines(announced)[0],
                       }));
    expectEntries(directory, {{"sub/c.txt", "c in A\n", workTree}});
}

// Runs that overlap are serialised by the session's lock, so none of their
// entries is lost.
TEST_F(Difftool, FiftyOverlappingRunsOfOneSessionLeaveFiftyEntries) {
    constexpr int runs = 50;
    std::string script;
    for (int i = 0; i < runs; ++i) {
        auto left = tmp.writeFile("left/" + std::to_string(i) + ".txt", std::to_string(i) + "\n");
        script += "varn _difftool --base /dev/null --local '" + left + "' --remote a.txt --merged a.txt &\n";
    }
    auto ran = runAsGroupLeader("/bin/sh", {"-c", script + "wait\n"});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto record = recordIn(sessionDirectory(ran.leader));
    ASSERT_EQ(record.entries.size(), static_cast<std::size_t>(runs));
    std::set<std::string> contents;
    for (const auto& entry : record.entries) contents.insert(readFile(entry.local));
    EXPECT_EQ(contents.size(), static_cast<std::size_t>(runs)) << "every run's own file";
}

// The record is replaced, never rewritten in place: a write that fails
// leaves the previous session as it was, and nothing half-written beside it,
// not even a copy of a file git left outside the repository. A session
// directory of another user is refused and left alone.
TEST_F(Difftool, AWriteOrCopyThatFailsOrAnotherUsersDirectoryKeepsThePreviousSession) {
    for (std::string kind : {"record", "copy", "owner"}) {
        SCOPED_TRACE(kind);
        std::string whyNot = "a directory of another user needs root to make";
        auto mount = kind == "owner" ? nullptr : PrivateMount::make(temporary, 64, whyNot);
        if (kind == "owner" ? ::geteuid() != 0 : !mount) GTEST_SKIP() << whyNot;
        if (kind == "copy") tmp.makeLink("repo/a.txt", tmp.writeFile("git-blob-a.txt", std::string(256 * 1024, 'a')));
        auto run = startWaitingRun();
        auto directory = sessionDirectory(run.processIdentifier());
        auto previous = laySession(run.processIdentifier(), directory);
        ASSERT_TRUE(kind != "record" || mount->fill("filler"));
        ASSERT_TRUE(kind != "owner" || ::chown(directory.c_str(), 65534, 65534) == 0);

        tmp.writeFile("go", "");
        auto ended = finish(run);
        EXPECT_EQ(ended.terminationStatus, 1);
        EXPECT_THAT(ended.standardError,
                    MatchesRegex(kind == "copy" ? "^Error: Cannot copy " + root + "/a.txt to " + directory +
                                                      "/a.txt-[-0-9A-F]{36}: No space left on device\n$"
                                 : kind == "record" ? "^Error: Cannot write file " + directory +
                                                          "/.varnel-difftool: No space left on device\n$"
                                                    : "^Error: Refusing to use the session directory " + directory +
                                                          ": it is owned by another user \\(uid 65534\\)\n$"));
        EXPECT_TRUE(kind != "owner" || ended.standardOutput.empty());
        EXPECT_EQ(readFile(directory + "/.varnel-difftool"), previous);
        EXPECT_EQ(entriesOf(directory), std::set<std::string>{".varnel-difftool"});
        EXPECT_TRUE(handedOver(0).empty());
    }
}

// git's words are read as git holds them, never through a shell or ps: an
// --extcmd value and a revision with blanks stay whole. git difftool -d
// runs the tool once on two directories that it removes afterwards; links
// on the right lead into the work tree where it matches.
TEST_F(Difftool, GitsWordsAreReadAsGitHoldsThemWithoutPsAndDirectoriesAreCompared) {
    makeHistory();
    git({"commit", "-q", "--allow-empty", "-m", "fix the build"}, root);
    auto tool = tmp.writeFile("tool",
                              "#!/bin/sh\nshift\nexec varn _difftool --base \"$2\" --local \"$1\" --remote \"$2\" "
                              "--merged \"$2\"\n",
                              true);
    // A ps that would be found first on PATH.
    tmp.writeFile("bin/ps", "#!/bin/sh\ntouch " + tmp / "ps-ran" + "\nexit 1\n", true);
    auto ran = difftool({"--extcmd", tool + " fast", "A", ":/fix the"});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    EXPECT_EQ(recordIn(sessionDirectory(ran.leader, "A", ":/fix the")).entries.size(), 3u);

    git({"rm", "-q", "b.txt"}, root);
    commit("C");
    tmp.writeFile("repo/a.txt", "a edited\n");
    auto compared = difftool({"-d", "A", "C"});
    ASSERT_EQ(compared.output.terminationStatus, 0) << compared.output.standardError;
    auto directory = sessionDirectory(compared.leader, "A", "C");
    EXPECT_EQ(compared.output.standardOutput, "Writing to: " + directory + "/.varnel-difftool\n" + announced);

    expectEntries(directory, {{"a.txt", "a in A\n", "a in B\n"},
                              {"b.txt", "unchanged\n", none},
                              {"new.txt", none, workTree},
                              {"sub/c.txt", "c in A\n", workTree}});
    auto targets = handedOver(4);  // the three runs of --extcmd's tool, then the comparison's
    EXPECT_EQ(std::count(targets.begin(), targets.end(), directory), 1);
    EXPECT_FALSE(fs::exists(tmp / "ps-ran"));
}

// Standard output that cannot be written costs no record: the session is
// written and handed over, and then the run fails.
TEST_F(Difftool, OutputThatCannotBeWrittenCostsNoRecord) {
    auto file = tmp.writeFile("repo/a.txt", "");
    auto ran = runAsGroupLeader("/bin/bash",
                                {"-c", "exec > >(exec true); wait $!; exec varn _difftool --base " + file +
                                           " --local " + file + " --remote " + file + " --merged " + file});
    EXPECT_EQ(ran.output.terminationStatus, 1);
    EXPECT_EQ(ran.output.standardError, "Error: Cannot write to standard output: Broken pipe\n");
    auto directory = sessionDirectory(ran.leader);
    EXPECT_EQ(recordIn(directory).entries.size(), 1u);
    EXPECT_EQ(handedOver(1), std::vector<std::string>{directory});
}
