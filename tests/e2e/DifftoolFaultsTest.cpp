// A difftool run when its session cannot be written as it should: the
// temporary directory full or read-only, the session directory replaced by
// a link or owned by someone else, no `ps` to read git's command line with.
//
// Each run is started by a shell that leads a process group of its own, as
// git does; the group names the session, so the test knows the session's
// directory before the run and can lay a previous session there.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/FileSystem.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/SessionKey.hpp"
#include "tests/e2e/PrivateMount.hpp"
#include "tests/e2e/Programs.hpp"

using namespace e2e;
using namespace std::chrono_literals;

namespace {

class DifftoolFaults : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        ::chmod(temporary.c_str(), 0700);
        tmp.writeFile("app", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + appLog + "'\n", true);
    }

    /// A group leader that waits (at most 10 s) for the file "go", then runs
    /// the tool once on two files of the repository. Extra words after the
    /// script stand in its command line, where git's would be.
    platform::Process startRun(const std::vector<std::string>& commandLineWords = {},
                               EnvironmentChanges changes = {}) const {
        std::string script = "i=0; while [ ! -e " + tmp / "go" + " ] && [ $i -lt 200 ]; do sleep 0.05; " +
                             "i=$((i+1)); done; " +
                             varnProgram + " _difftool --base /dev/null --local " + root + "/a.txt --remote " + root +
                             "/b.txt --merged " + root + "/a.txt";
        std::vector<std::string> arguments = {"-c", script};
        arguments.insert(arguments.end(), commandLineWords.begin(), commandLineWords.end());
        changes.emplace("TMPDIR", temporary);
        changes.emplace("VARNEL_HOME", tmp / "app");
        changes.emplace("VARNEL_VERBOSE", std::nullopt);
        auto started = platform::Process::launch("/bin/sh", arguments,
                                                 {.captureOutput = true, .captureError = true, .nullInput = true,
                                                  .newSession = true, .workingDirectory = root,
                                                  .environment = environmentWith(changes)});
        if (!started) throw std::runtime_error(started.error().description);
        return std::move(*started);
    }

    /// Lets the run go on and collects its end (at most 30 s).
    platform::ProcessOutput finish(platform::Process& run) const {
        tmp.writeFile("go", "");
        platform::ProcessOutput output;
        auto captured = run.readToEnd(30s);
        auto status = run.waitUntilExit(5s);
        if (!captured || !status || !*status) {
            (void)run.sendSignal(SIGKILL);
            (void)run.waitUntilExit();
            output.terminationStatus = -1;
            output.standardError = "the run did not end";
            return output;
        }
        output.standardOutput = captured->standardOutput;
        output.standardError = captured->standardError;
        output.terminationStatus = **status;
        return output;
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
        std::filesystem::create_directories(directory);
        EXPECT_TRUE(platform::writeFileNoFollow(directory + "/.varnel-difftool", *json));
        return *json;
    }

    static std::vector<std::string> namesIn(const std::string& directory) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testsupport::TemporaryDirectory tmp;
    std::string temporary = tmp.makeDirectory("T");
    std::string root = tmp.makeDirectory("repo");
    std::string gitDirectory = tmp.makeDirectory("repo/.git");
    std::string appLog = tmp / "app.log";
};

}  // namespace

// The record is replaced, never rewritten in place: a write that fails
// leaves the previous session as it was, and nothing half-written beside it.
TEST_F(DifftoolFaults, AFullOrReadOnlyTemporaryDirectoryKeepsThePreviousSession) {
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        std::string whyNot;
        auto mount = PrivateMount::make(temporary, 64, whyNot);
        if (!mount) GTEST_SKIP() << whyNot;
        std::filesystem::remove(tmp / "go");
        auto run = startRun();
        auto directory = sessionDirectory(run);
        auto previous = laySession(run, directory);
        ASSERT_TRUE(readOnly ? mount->makeReadOnly() : mount->fill("filler"));

        auto ended = finish(run);
        EXPECT_EQ(ended.terminationStatus, 1);
        EXPECT_EQ(ended.standardError, "Error: Cannot write file " + directory + "/.varnel-difftool: " +
                                           (readOnly ? "Read-only file system" : "No space left on device") + "\n");
        EXPECT_EQ(testsupport::readFile(directory + "/.varnel-difftool"), previous);
        EXPECT_EQ(namesIn(directory), std::vector<std::string>{".varnel-difftool"});
        EXPECT_FALSE(std::filesystem::exists(appLog));
    }
}

TEST_F(DifftoolFaults, ACopyThatDoesNotFitIsNotLeftBehind) {
    std::string whyNot;
    auto mount = PrivateMount::make(temporary, 64, whyNot);
    if (!mount) GTEST_SKIP() << whyNot;
    // git's temporary file lies outside the repository, so the run copies it.
    auto outside = tmp.writeFile("git-blob-a.txt", std::string(256 * 1024, 'a'));
    std::filesystem::remove(root + "/a.txt");
    std::filesystem::create_symlink(outside, root + "/a.txt");
    auto run = startRun();
    auto directory = sessionDirectory(run);
    auto previous = laySession(run, directory);

    auto ended = finish(run);
    EXPECT_EQ(ended.terminationStatus, 1);
    EXPECT_EQ(ended.standardError.rfind("Error: Cannot copy " + root + "/a.txt to " + directory + "/a.txt-", 0), 0u)
        << ended.standardError;
    EXPECT_NE(ended.standardError.find(": No space left on device\n"), std::string::npos) << ended.standardError;
    EXPECT_EQ(testsupport::readFile(directory + "/.varnel-difftool"), previous);
    EXPECT_EQ(namesIn(directory), std::vector<std::string>{".varnel-difftool"});
}

TEST_F(DifftoolFaults, ASessionDirectoryThatIsALinkOrNotOursIsRefused) {
    auto elsewhere = tmp.makeDirectory("elsewhere");
    struct Case {
        std::string name;
        std::function<void(const std::string&)> replace;
        std::string reason;
    } cases[] = {
        {"link", [&](const std::string& directory) { std::filesystem::create_directory_symlink(elsewhere, directory); },
         "it is a symbolic link"},
        {"another user's",
         [&](const std::string& directory) {
             std::filesystem::create_directory(directory);
             ASSERT_EQ(::chown(directory.c_str(), 65534, 65534), 0);
         },
         "it is owned by another user (uid 65534)"},
    };
    if (::geteuid() != 0) GTEST_SKIP() << "a directory of another user needs root to make";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(tmp / "go");
        auto run = startRun();
        auto directory = sessionDirectory(run);
        c.replace(directory);
        auto ended = finish(run);
        EXPECT_EQ(ended.terminationStatus, 1);
        EXPECT_EQ(ended.standardOutput, "");
        EXPECT_EQ(ended.standardError,
                  "Error: Refusing to use the session directory " + directory + ": " + c.reason + "\n");
        EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
        EXPECT_FALSE(std::filesystem::exists(appLog));
    }
}

// Without `ps` git's command line cannot be read: the session has no
// revisions, and the run goes on.
TEST_F(DifftoolFaults, WithoutPsTheRevisionsAreAbsentAndTheRunGoesOn) {
    for (bool withPs : {true, false}) {
        SCOPED_TRACE(withPs ? "with ps" : "without ps");
        std::filesystem::remove(tmp / "go");
        EnvironmentChanges path;
        if (!withPs) path.emplace("PATH", tmp.makeDirectory("empty"));
        auto run = startRun({"git", "difftool", "A", "B"}, path);
        auto directory = withPs ? sessionDirectory(run, "A", "B") : sessionDirectory(run);
        auto ended = finish(run);
        EXPECT_EQ(ended.terminationStatus, 0) << ended.standardError;
        EXPECT_EQ(ended.standardOutput, "Writing to: " + directory + "/.varnel-difftool\n" +
                                            "Using 'VARNEL_HOME' environment variable: " + tmp / "app" + "\n");
        auto record = VarnShared::DiffToolMetaData::readMetadata(directory);
        ASSERT_TRUE(record) << record.error().description;
        EXPECT_EQ(record->revspecA, withPs ? std::optional<std::string>("A") : std::nullopt);
        EXPECT_EQ(record->revspecB, withPs ? std::optional<std::string>("B") : std::nullopt);
        EXPECT_EQ(record->entries.size(), 1u);
    }
}

// git's command line is read, never expanded: a revision that looks like a
// file pattern stays as it was typed, whatever files the directory holds.
TEST_F(DifftoolFaults, PatternsInGitsCommandLineAreNotExpanded) {
    tmp.writeFile("repo/a.txt", "");
    auto run = startRun({"git", "difftool", "a.*", "[ab].txt"});
    auto directory = sessionDirectory(run, "a.*", "[ab].txt");
    auto ended = finish(run);
    EXPECT_EQ(ended.terminationStatus, 0) << ended.standardError;
    EXPECT_NE(ended.standardOutput.find("Writing to: " + directory + "/.varnel-difftool\n"), std::string::npos)
        << ended.standardOutput;
}
