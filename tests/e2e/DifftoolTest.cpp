// git difftool with varn as its diff tool: real git, the real tool and
// launcher, and a stand-in application that records what it is handed. git
// runs in a process group of its own, as from a shell, so it leads the group
// its tool runs share.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "shared/DiffToolMetaData.hpp"
#include "shared/SessionKey.hpp"
#include "tests/e2e/Programs.hpp"

using namespace e2e;
using ::testing::MatchesRegex;
using testsupport::readFile;

namespace {

struct GroupRun {
    pid_t leader = -1;
    platform::ProcessOutput output;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class Difftool : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        tmp.writeFile("app", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + appLog + "'\n", true);
        git({"init", "-q"});
        git({"config", "diff.tool", "varn"});
        git({"config", "difftool.varn.cmd", varnProgram +
                                                 " _difftool --base \"$BASE\" --local \"$LOCAL\" --remote \"$REMOTE\""
                                                 " --merged \"$MERGED\""});
        tmp.writeFile("repo/a.txt", "a in A\n");
        tmp.writeFile("repo/b.txt", "unchanged\n");
        tmp.writeFile("repo/sub/c.txt", "c in A\n");
        git({"add", "."});
        git({"commit", "-q", "-m", "A"});
        git({"tag", "A"});
        tmp.writeFile("repo/a.txt", "a in B\n");
        tmp.writeFile("repo/new.txt", "new in B\n");
        tmp.writeFile("repo/sub/c.txt", "c in B\n");
        git({"add", "."});
        git({"commit", "-q", "-m", "B"});
        git({"tag", "B"});
    }

    EnvironmentChanges environment(EnvironmentChanges more = {}) const {
        more.emplace("HOME", tmp / "home");
        more.emplace("GIT_CONFIG_NOSYSTEM", "1");
        more.emplace("GIT_AUTHOR_NAME", "Tester");
        more.emplace("GIT_AUTHOR_EMAIL", "tester@example.invalid");
        more.emplace("GIT_COMMITTER_NAME", "Tester");
        more.emplace("GIT_COMMITTER_EMAIL", "tester@example.invalid");
        more.emplace("TMPDIR", temporary);
        more.emplace("VARNEL_HOME", tmp / "app");
        more.emplace("VARNEL_VERBOSE", std::nullopt);
        return more;
    }

    void git(const std::vector<std::string>& arguments) const {
        auto ran = run("/usr/bin/git", arguments, root, environment());
        ASSERT_EQ(ran.terminationStatus, 0) << ran.standardError;
    }

    /// Runs `program` in the repository, leading a process group (and
    /// session) of its own, to its end (at most 60 s).
    GroupRun runAsGroupLeader(const std::string& program, const std::vector<std::string>& arguments,
                              const EnvironmentChanges& more = {}) const {
        GroupRun result;
        auto process = platform::Process::launch(
            program, arguments,
            {.captureOutput = true, .captureError = true, .nullInput = true, .newSession = true,
             .workingDirectory = root, .environment = environmentWith(environment(more))});
        if (!process) {
            result.output.standardError = process.error().description;
            result.output.terminationStatus = -1;
            return result;
        }
        result.leader = process->processIdentifier();
        auto captured = process->readToEnd(std::chrono::seconds(60));
        auto status = process->waitUntilExit();
        if (captured) {
            result.output.standardOutput = captured->standardOutput;
            result.output.standardError = captured->standardError;
        }
        result.output.terminationStatus = status ? *status : -1;
        return result;
    }

    GroupRun difftool(const std::vector<std::string>& revisions, const EnvironmentChanges& more = {}) const {
        std::vector<std::string> arguments = {"difftool", "-y"};
        arguments.insert(arguments.end(), revisions.begin(), revisions.end());
        return runAsGroupLeader("/usr/bin/git", arguments, more);
    }

    /// The session directories in T: those named by a decimal key.
    std::vector<std::string> sessionDirectories() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(temporary)) {
            auto name = entry.path().filename().string();
            if (entry.is_directory() && std::all_of(name.begin(), name.end(), ::isdigit))
                found.push_back(temporary + "//" + name);
        }
        std::sort(found.begin(), found.end());
        return found;
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
    std::string root = tmp.makeDirectory("repo");
    std::string appLog = tmp / "app.log";
};

}  // namespace

TEST_F(Difftool, OneSessionForTheInvocationWithOneEntryPerChangedFile) {
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
    auto using_ = "Using 'VARNEL_HOME' environment variable: " + tmp / "app";
    EXPECT_EQ(linesOf(ran.output.standardOutput),
              (std::vector<std::string>{writing, using_, writing, using_, writing, using_}));
    ASSERT_TRUE(awaitFile(appLog));
    EXPECT_EQ(linesOf(readFile(appLog)), (std::vector<std::string>(3, directory)));
}

TEST_F(Difftool, WorkTreeFilesAreRecordedAsTheyAre) {
    tmp.writeFile("repo/a.txt", "a edited\n");
    auto ran = difftool({"A"});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    auto record = recordIn(sessions[0]);
    EXPECT_EQ(record.revspecA, "A");
    EXPECT_EQ(record.revspecB, std::nullopt);
    ASSERT_EQ(record.entries.size(), 3u);
    EXPECT_EQ(record.entries[0].remote, root + "/a.txt");
    EXPECT_THAT(record.entries[0].local, MatchesRegex(copyPattern(sessions[0], "a.txt")));
}

TEST_F(Difftool, EachInvocationHasItsOwnSession) {
    ASSERT_EQ(difftool({"A", "B"}).output.terminationStatus, 0);
    ASSERT_EQ(difftool({"A", "B"}).output.terminationStatus, 0);
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 2u);
    for (const auto& directory : sessions) EXPECT_EQ(recordIn(directory).entries.size(), 3u);
}

// Two invocations inside one group leader (a script, whose command line
// names no revisions) share a session; a damaged record in between starts
// it afresh.
TEST_F(Difftool, ADamagedSessionFileStartsTheSessionAfresh) {
    for (bool damage : {false, true}) {
        std::filesystem::remove_all(temporary);
        std::filesystem::create_directory(temporary);
        auto script = tmp.writeFile("twice.sh",
                                    "git difftool -y A B\n" +
                                        std::string(damage ? "for f in \"$TMPDIR\"/*/.varnel-difftool; do "
                                                             "printf '{\"repo\":' > \"$f\"; done\n"
                                                           : "") +
                                        "git difftool -y A B\n");
        auto ran = runAsGroupLeader("/bin/sh", {script});
        ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
        auto sessions = sessionDirectories();
        ASSERT_EQ(sessions.size(), 1u);
        auto record = recordIn(sessions[0]);
        EXPECT_EQ(record.pid, ran.leader);
        EXPECT_EQ(record.revspecA, std::nullopt);
        EXPECT_EQ(record.entries.size(), damage ? 3u : 6u) << (damage ? "damaged" : "intact");
    }
}

TEST_F(Difftool, VerboseRunsLogTheirStepsInOrder) {
    // A narrow COLUMNS does not cut the command line that ps reports.
    auto ran = difftool({"--tool=varn", "-t", "varn", "A", "B", "--", "a.txt"},
                        {{"VARNEL_VERBOSE", "1"}, {"COLUMNS", "20"}});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    std::string line = "/usr/bin/git difftool -y --tool=varn -t varn A B -- a.txt";
    EXPECT_EQ(linesOf(ran.output.standardOutput),
              (std::vector<std::string>{
                  "Group ID: " + std::to_string(ran.leader),
                  "Lines: [\"" + line + "\", \"\"]",
                  "Command line: " + line,
                  "trimmed: [\"-y\", \"--tool=varn\", \"-t\", \"varn\", \"A\", \"B\"]",
                  "trimmed: [\"A\", \"B\"]",
                  "Writing to: " + sessions[0] + "/.varnel-difftool",
                  "Using 'VARNEL_HOME' environment variable: " + tmp / "app",
              }));
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
    script += "wait\n";
    auto ran = runAsGroupLeader("/bin/sh", {tmp.writeFile("fifty.sh", script)});
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
    auto log = tmp / "stub.log";
    auto stub = binaryDirectory + "/varnel-stub";
    auto ran = difftool({"A", "B"}, {{"VARNEL_HOME", stub}, {"VARNEL_STUB_LOG", log}});
    ASSERT_EQ(ran.output.terminationStatus, 0) << ran.output.standardError;
    auto sessions = sessionDirectories();
    ASSERT_EQ(sessions.size(), 1u);
    const auto& directory = sessions[0];

    // The launcher does not wait for the application: wait for its three
    // deliveries to be logged.
    auto deliveries = [&] {
        auto lines = linesOf(readFile(log));
        return std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.find("\tshown ") != l.npos; });
    };
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (deliveries() < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(deliveries(), 3) << readFile(log);

    std::vector<std::string> pairs;
    for (const auto& line : linesOf(readFile(log)))
        if (line.find("\tpair ") != line.npos) pairs.push_back(line);
    std::vector<std::string> expected;
    for (const auto& entry : recordIn(directory).entries)
        expected.push_back("difftool\t" + directory + "\tpair local=" + entry.local + " remote=" + entry.remote +
                           " merged=" + entry.merged);
    EXPECT_EQ(pairs, expected);

    // Handed the session again, it has nothing new to show.
    auto again = run(stub, {directory}, tmp.path(), {{"VARNEL_STUB_LOG", tmp / "again.log"}});
    EXPECT_EQ(again.terminationStatus, 0) << again.standardError;
    EXPECT_EQ(readFile(tmp / "again.log"), "difftool\t" + directory + "\tshown 0 of 3 entries\n");
}
