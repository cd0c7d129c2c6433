// The stand-in application on merge hand-offs the test prepares: what it
// makes of the conflicted file, what it reports and what it logs.

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/e2e/Programs.hpp"

using namespace e2e;

namespace {

const std::string stubProgram = binaryDirectory + "/varnel-stub";

const std::string twoConflicts = "top\n<<<<<<< HEAD\nours 1\n=======\ntheirs 1\n>>>>>>> other\nmiddle\n"
                                 "<<<<<<< HEAD\n=======\ntheirs 2\ntheirs 2b\n>>>>>>> other\nend";
// diff3 and zdiff3 add the base between the sides; CRLF lines stay CRLF.
const std::string withBase = "<<<<<<< HEAD\r\nours\r\n||||||| merged common ancestors\r\nbase\r\n=======\r\n"
                             "theirs\r\n>>>>>>> other\r\nafter\r\n";
// Markers made longer by conflict-marker-size; shorter runs are content.
const std::string longMarkers = "<<<<<<<<< HEAD\n=======\nours\n=========\n>>>>>>>\n>>>>>>>>> other\n";

class Stub : public ::testing::Test {
protected:
    /// A hand-off directory with its record, for `file` holding `text`.
    std::string handOff(const std::string& text) {
        auto directory = tmp.makeDirectory("T/hand-off-" + std::to_string(++count));
        tmp.writeFile("repo/file-" + std::to_string(count), text);
        file = tmp / "repo/file-" + std::to_string(count);
        nlohmann::json record = {{"repo", tmp / "repo"}, {"fileToMerge", file}, {"path", directory}};
        tmp.writeFile("T/hand-off-" + std::to_string(count) + "/.varnel-mergetool", record.dump());
        return directory;
    }

    platform::ProcessOutput deliver(const std::string& target, std::optional<std::string> action) {
        return run(stubProgram, {target}, tmp.path(), {{"VARNEL_STUB_MERGE", action}, {"VARNEL_STUB_LOG", log}});
    }

    static std::optional<std::string> statusIn(const std::string& directory) {
        if (!std::filesystem::exists(directory + "/status")) return std::nullopt;
        return testsupport::readFile(directory + "/status");
    }

    testsupport::TemporaryDirectory tmp;
    std::string log = tmp / "stub.log";
    std::string file;
    int count = 0;
};

}  // namespace

TEST_F(Stub, ResolvesEveryConflictKeepingTheChosenSide) {
    struct Case {
        std::optional<std::string> action;
        std::string text;
        std::string resolved;
    } cases[] = {
        {std::nullopt, twoConflicts, "top\nours 1\nmiddle\nend"},
        {"ours", withBase, "ours\r\nafter\r\n"},
        {"theirs", twoConflicts, "top\ntheirs 1\nmiddle\ntheirs 2\ntheirs 2b\nend"},
        {"theirs", withBase, "theirs\r\nafter\r\n"},
        {"ours", longMarkers, "=======\nours\n"},
        {"theirs", longMarkers, ">>>>>>>\n"},
        {"theirs", "no conflict\n<<<<<<<x\n", "no conflict\n<<<<<<<x\n"},
    };
    for (const auto& c : cases) {
        auto directory = handOff(c.text);
        auto ran = deliver(directory, c.action);
        EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
        EXPECT_EQ(testsupport::readFile(file), c.resolved) << c.text;
        EXPECT_EQ(statusIn(directory), "0");
    }
}

TEST_F(Stub, ReportsWhatItIsToldOrWhatWentWrong) {
    struct Case {
        std::string action;
        std::string text;
        std::optional<std::string> status;
        int exitStatus;
    } cases[] = {
        {"ok", twoConflicts, "0", 0},
        {"failedToOpen", twoConflicts, "-2", 0},
        {"didNotResolve", twoConflicts, "-3", 0},
        {"7", twoConflicts, "7", 0},
        {"none", twoConflicts, std::nullopt, 0},
        {"sometimes", twoConflicts, "-1", 1},
        {"ours", "<<<<<<< HEAD\nours\n=======\ntheirs\n", "-1", 1},
        {"theirs", "<<<<<<< HEAD\nours\n>>>>>>> other\n", "-1", 1},
    };
    for (const auto& c : cases) {
        auto directory = handOff(c.text);
        auto ran = deliver(directory, c.action);
        EXPECT_EQ(ran.terminationStatus, c.exitStatus) << c.action << ": " << ran.standardError;
        EXPECT_EQ(statusIn(directory), c.status) << c.action;
        EXPECT_EQ(testsupport::readFile(file), c.text) << c.action;
    }

    auto missingFile = handOff("");
    std::filesystem::remove(file);
    EXPECT_EQ(deliver(missingFile, "ours").terminationStatus, 1);
    EXPECT_EQ(statusIn(missingFile), "-2");

    auto damagedRecord = handOff("");
    tmp.writeFile("T/hand-off-" + std::to_string(count) + "/.varnel-mergetool", "{\"repo\":null}");
    EXPECT_EQ(deliver(damagedRecord, "ok").terminationStatus, 1);
    EXPECT_EQ(statusIn(damagedRecord), "-2");
}

TEST_F(Stub, LogsOneLinePerDelivery) {
    auto first = handOff(twoConflicts);
    auto second = handOff(twoConflicts);
    auto plain = tmp.makeDirectory("plain\tdirectory");
    EXPECT_EQ(deliver(first, std::nullopt).terminationStatus, 0);
    EXPECT_EQ(deliver(second, "none").terminationStatus, 0);
    auto unknown = deliver(plain, std::nullopt);
    EXPECT_EQ(unknown.terminationStatus, 1);
    EXPECT_EQ(unknown.standardError, "varnel-stub: nothing to do with " + plain + "\n");
    EXPECT_EQ(testsupport::readFile(log), "merge\t" + first + "\tours -> 0\n"
                                          "merge\t" + second + "\tnone -> none\n"
                                          "unknown\t" + tmp.path() + "/plain\\tdirectory\tno delivery of this kind\n");
}

// A named pipe where a file should be is refused at once, never opened to
// wait for a writer or reader that may not come.
TEST_F(Stub, NeverWaitsOnANamedPipe) {
    auto pipeInstead = [](const std::string& path) {
        std::filesystem::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    };
    auto pipedRecord = handOff(twoConflicts);
    pipeInstead(pipedRecord + "/.varnel-mergetool");
    auto ran = deliver(pipedRecord, "ours");
    EXPECT_EQ(ran.terminationStatus, 1);
    EXPECT_NE(ran.standardError.find("/.varnel-mergetool: it is not a regular file"), std::string::npos)
        << ran.standardError;
    EXPECT_EQ(statusIn(pipedRecord), "-2");

    auto pipedFile = handOff(twoConflicts);
    pipeInstead(file);
    EXPECT_EQ(deliver(pipedFile, "ours").terminationStatus, 1);
    EXPECT_EQ(statusIn(pipedFile), "-2");

    pipeInstead(log);
    auto unlogged = deliver(handOff(twoConflicts), "ours");
    EXPECT_EQ(unlogged.terminationStatus, 0);
    EXPECT_EQ(unlogged.standardError, "varnel-stub: cannot log to " + log + ": it is not a regular file\n");
}
