// The stand-in application on merge hand-offs the test prepares: what it
// makes of the conflicted file, what it reports and what it logs.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/support/EndToEnd.hpp"

using namespace testsupport;

namespace {

const std::string twoConflicts =
    "top\n<<<<<<< HEAD\nours 1\n=======\ntheirs 1\n>>>>>>> other\nmiddle\n"
    "<<<<<<< HEAD\n=======\ntheirs 2\ntheirs 2b\n>>>>>>> other\nend";
// diff3 and zdiff3 add the base between the sides; CRLF lines stay CRLF.
const std::string withBase =
    "<<<<<<< HEAD\r\nours\r\n||||||| merged common ancestors\r\nbase\r\n=======\r\n"
    "theirs\r\n>>>>>>> other\r\nafter\r\n";
// Markers made longer by conflict-marker-size; shorter runs are content.
const std::string longMarkers = "<<<<<<<<< HEAD\n=======\nours\n=========\n>>>>>>>\n>>>>>>>>> other\n";

class Stub : public EndToEnd {
protected:
    /// A new hand-off directory with its record, for `file` holding `text`.
    std::string handOff(const std::string& text, const std::string& record = {}) {
        auto name = std::to_string(++count);
        file = tmp.writeFile("repo/file-" + name, text);
        nlohmann::json json = {{"repo", root}, {"fileToMerge", file}, {"path", temporary + "/" + name}};
        tmp.writeFile("T/" + name + "/.varnel-mergetool", record.empty() ? json.dump() : record);
        return temporary + "/" + name;
    }

    platform::ProcessOutput deliver(const std::string& target, std::optional<std::string> action) {
        return run(stubProgram, {target}, tmp.path(), environment({{"VARNEL_STUB_MERGE", action}}));
    }

    std::string file;
    int count = 0;
};

}  // namespace

// Every conflict resolved keeping the side it is told, or else the answer
// it is told or what went wrong; the file then stays as it was. A named pipe
// where a file should be is refused at once, never opened to wait for a
// writer that may not come.
TEST_F(Stub, ResolvesOrReportsWhatItIsToldOrWhatWentWrong) {
    auto pipeInstead = [](const std::string& path) {
        std::filesystem::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    };
    struct {
        std::optional<std::string> action;
        std::string text;
        std::optional<std::string> status;
        int exitStatus = 0;
        std::optional<std::string> resolved = {};  // the text unchanged without one
        std::function<void(const std::string& directory)> damage = {};
    } cases[] = {
        {std::nullopt, twoConflicts, "0", 0, "top\nours 1\nmiddle\nend"},
        {"ours", withBase, "0", 0, "ours\r\nafter\r\n"},
        {"theirs", twoConflicts, "0", 0, "top\ntheirs 1\nmiddle\ntheirs 2\ntheirs 2b\nend"},
        {"theirs", withBase, "0", 0, "theirs\r\nafter\r\n"},
        {"ours", longMarkers, "0", 0, "=======\nours\n"},
        {"theirs", longMarkers, "0", 0, ">>>>>>>\n"},
        {"theirs", "no conflict\n<<<<<<<x\n", "0"},
        {"ok", twoConflicts, "0"},
        {"failedToOpen", twoConflicts, "-2"},
        {"didNotResolve", twoConflicts, "-3"},
        {"7", twoConflicts, "7"},
        {"none", twoConflicts, std::nullopt},
        {"sometimes", twoConflicts, "-1", 1},
        {"ours", "<<<<<<< HEAD\nours\n=======\ntheirs\n", "-1", 1},
        {"theirs", "<<<<<<< HEAD\nours\n>>>>>>> other\n", "-1", 1},
        {"ours", "", "-2", 1, {}, [&](auto&) { std::filesystem::remove(file); }},
        {"ours", twoConflicts, "-2", 1, {}, [&](auto&) { pipeInstead(file); }},
        {"ok", "", "-2", 1, {}, [](auto& directory) { std::ofstream(directory + "/.varnel-mergetool") << "{}"; }},
        {"ours", twoConflicts, "-2", 1, {}, [&](auto& directory) { pipeInstead(directory + "/.varnel-mergetool"); }},
    };
    for (const auto& c : cases) {
        auto directory = handOff(c.text);
        if (c.damage) c.damage(directory);
        auto ran = deliver(directory, c.action);
        EXPECT_EQ(ran.terminationStatus, c.exitStatus) << c.text << ": " << ran.standardError;
        auto status = directory + "/status";
        EXPECT_EQ(std::filesystem::exists(status) ? std::optional(readFile(status)) : std::nullopt, c.status) << c.text;
        EXPECT_TRUE(c.damage || readFile(file) == c.resolved.value_or(c.text)) << c.text;
    }
    // One line per delivery; the last hand-off's record was the pipe.
    auto logged = lines(readFile(stubLog));
    ASSERT_EQ(logged.size(), std::size(cases));
    EXPECT_EQ(logged[0], "merge\t" + temporary + "/1\tours -> 0");
    EXPECT_EQ(logged[11], "merge\t" + temporary + "/12\tnone -> none");
    EXPECT_NE(logged.back().find("/" + std::to_string(count) + "/.varnel-mergetool: it is not a regular file"),
              std::string::npos);
}

TEST_F(Stub, LogsWhatItCannotDeliverAndFailsNoDeliveryForItsLog) {
    auto plain = tmp.makeDirectory("plain\tdirectory");
    auto unknown = deliver(plain, std::nullopt);
    EXPECT_EQ(unknown.terminationStatus, 1);
    EXPECT_EQ(unknown.standardError, "varnel-stub: nothing to do with " + plain + "\n");
    EXPECT_EQ(readFile(stubLog), "unknown\t" + tmp.path() + "/plain\\tdirectory\tno delivery of this kind\n");

    // A log that is no regular file is not written, and no delivery fails for it.
    std::filesystem::remove(stubLog);
    ASSERT_EQ(::mkfifo(stubLog.c_str(), 0600), 0);
    auto unlogged = deliver(handOff(twoConflicts), "ours");
    EXPECT_EQ(unlogged.terminationStatus, 0);
    EXPECT_EQ(unlogged.standardError, "varnel-stub: cannot log to " + stubLog + ": it is not a regular file\n");
}
