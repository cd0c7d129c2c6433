// The merge hand-off through the real tool and launcher. A tiny application
// (a script) keeps what it is handed; the test plays the application's part
// and writes the status file itself.

#include <unistd.h>

#include <filesystem>
#include <regex>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "platform/FileSystem.hpp"
#include "tests/e2e/MergeRun.hpp"

using namespace e2e;
using namespace std::chrono_literals;

namespace {

/// How a backgrounded tool ended.
struct Ending {
    int status = -1;
    std::string standardOutput;
    std::string standardError;
};

class MergeHandOff : public MergeRun {
protected:
    void SetUp() override {
        MergeRun::SetUp();
        // For every delivery: the descriptors it inherited and a copy of the
        // record, named after the hand-off directory; the copy last, so that
        // once it is there the rest is too.
        writeApplication("name=$(basename \"$1\")\n"
                         "ls -l /proc/$$/fd > '" + deliveries + "'/$name.fds\n"
                         "cp \"$1/.varnel-mergetool\" '" + deliveries + "'/$name.part\n"
                         "mv '" + deliveries + "'/$name.part '" + deliveries + "'/$name.json\n");
    }

    /// The hand-off directories delivered to the application so far.
    std::vector<std::string> delivered() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(deliveries))
            if (entry.path().extension() == ".json") names.push_back(entry.path().stem().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    /// Waits (at most 10 s) until `count` hand-offs have been delivered.
    std::vector<std::string> awaitDeliveries(std::size_t count = 1) const {
        auto deadline = std::chrono::steady_clock::now() + 10s;
        while (delivered().size() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        return delivered();
    }

    nlohmann::json recordOf(const std::string& name) const {
        return nlohmann::json::parse(testsupport::readFile(deliveries + "/" + name + ".json"));
    }

    /// The hand-off directory of the delivery `name`.
    std::string handOff(const std::string& name) const { return temporary + "//" + name; }

    /// Writes the status as the application does: complete, moved into place.
    static void answer(const std::string& directory, const std::string& status) {
        ASSERT_TRUE(platform::writeFileAtomically(directory + "/status", status));
    }

    /// The tool is still waiting `period` from now.
    static bool stillWaiting(platform::Process& tool, std::chrono::milliseconds period = 300ms) {
        auto ended = tool.waitUntilExit(period);
        return ended && !*ended;
    }

    /// Collects the tool's output and status, killing it when it does not
    /// end within 5 s.
    static Ending finish(platform::Process& tool) {
        auto status = awaitEnd(tool);
        if (!status) return {.standardError = "the tool did not end"};
        Ending ending{.status = *status};
        if (auto output = tool.readToEnd(5s)) {
            ending.standardOutput = output->standardOutput;
            ending.standardError = output->standardError;
        }
        return ending;
    }

    std::string deliveries = tmp.makeDirectory("deliveries");
    std::string subdirectory = tmp.makeDirectory("repo/sub");
};

}  // namespace

TEST_F(MergeHandOff, WritesTheRecordHandsItOverAndEndsWithTheVerdict) {
    tmp.makeLink("via", "repo");
    // The file need not exist; the path reaches the record through a link.
    auto tool = start({"merge", "../../via/sub/a.c"}, subdirectory);
    auto names = awaitDeliveries();
    ASSERT_EQ(names.size(), 1u);
    auto name = names.front();
    std::regex uuid("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    EXPECT_TRUE(std::regex_match(name, uuid)) << name;
    auto record = recordOf(name);
    EXPECT_EQ(record, (nlohmann::json{{"repo", root}, {"fileToMerge", root + "/sub/a.c"}, {"path", handOff(name)}}));
    // The watcher's descriptor is not the application's.
    EXPECT_EQ(testsupport::readFile(deliveries + "/" + name + ".fds").find("inotify"), std::string::npos);

    EXPECT_TRUE(stillWaiting(tool));
    answer(handOff(name), "0");
    auto ending = finish(tool);
    EXPECT_EQ(ending.status, 0) << ending.standardError;
    EXPECT_EQ(ending.standardOutput, "Using 'VARNEL_HOME' environment variable: " + application + "\n");
    EXPECT_EQ(ending.standardError, "");
    EXPECT_FALSE(std::filesystem::exists(handOff(name)));
}

TEST_F(MergeHandOff, TheReportedNumberIsTheExitStatus) {
    for (auto [text, status] : {std::pair{"0", 0}, {"-3", 253}, {"7", 7}, {"-1", 255}, {"+300", 44}}) {
        auto tool = start({"merge", root + "/a.c"}, tmp.path());
        auto names = awaitDeliveries();
        ASSERT_EQ(names.size(), 1u);
        answer(handOff(names.front()), text);
        EXPECT_EQ(finish(tool).status, status) << text;
        EXPECT_FALSE(std::filesystem::exists(handOff(names.front())));
        std::filesystem::remove(deliveries + "/" + names.front() + ".json");
    }
}

TEST_F(MergeHandOff, OnlyAValidNumberMovedIntoPlaceEndsTheWait) {
    auto tool = start({"merge", "a.c"}, root);
    auto names = awaitDeliveries();
    ASSERT_EQ(names.size(), 1u);
    auto directory = handOff(names.front());

    answer(directory, "-1\n");
    EXPECT_TRUE(stillWaiting(tool)) << "a status with a newline was taken";

    // Created empty, then filled where it is: the entries do not change.
    std::filesystem::remove(directory + "/status");
    ASSERT_TRUE(platform::writeFileNoFollow(directory + "/status", ""));
    EXPECT_TRUE(stillWaiting(tool));
    {
        std::ofstream(directory + "/status", std::ios::binary | std::ios::in) << "2";
    }
    EXPECT_TRUE(stillWaiting(tool)) << "a status filled in place was taken without a change of the directory";
    EXPECT_TRUE(std::filesystem::exists(directory));

    // Any change of the entries makes the tool look again.
    ASSERT_TRUE(platform::writeFileNoFollow(directory + "/nudge", ""));
    EXPECT_EQ(finish(tool).status, 2);
    EXPECT_FALSE(std::filesystem::exists(directory));
}

TEST_F(MergeHandOff, EachHandOffHasItsOwnDirectoryAndVerdict) {
    auto merge = start({"merge", "sub/a.c"}, root);
    auto mergetool = start({"_mergetool", "--base", "no/base", "--local", "no/local", "--remote", "no/remote",
                            "--merged", "b.c"},
                           subdirectory);
    auto names = awaitDeliveries(2);
    ASSERT_EQ(names.size(), 2u);
    std::map<std::string, std::string> byFile;
    for (const auto& name : names) byFile[recordOf(name).at("fileToMerge").get<std::string>()] = name;
    ASSERT_EQ(byFile.size(), 2u);
    auto mergeName = byFile[root + "/sub/a.c"];
    auto mergetoolName = byFile[root + "/sub/b.c"];
    ASSERT_FALSE(mergeName.empty());
    ASSERT_FALSE(mergetoolName.empty());

    answer(handOff(mergetoolName), "-2");
    EXPECT_EQ(finish(mergetool).status, 254);
    EXPECT_TRUE(stillWaiting(merge, 100ms));
    answer(handOff(mergeName), "0");
    EXPECT_EQ(finish(merge).status, 0);
}

TEST_F(MergeHandOff, VerboseLinesAndTheAnnouncedApplication) {
    struct Case {
        std::vector<std::string> arguments;
        std::string home;
        std::string expectedOutput;
    } cases[] = {
        {{"merge", "a.c"}, application,
         "Running Merge Command\u2026\nUsing 'VARNEL_HOME' environment variable: " + application + "\n"},
        {{"_mergetool", "--base", "x", "--local", "y", "--remote", "z", "--merged", "a.c"}, application,
         "Using 'VARNEL_HOME' environment variable: " + application + "\n"},
        // No application at all: the launcher fails, and the tool does not
        // notice but waits for a verdict all the same.
        {{"merge", "a.c"}, "", "Running Merge Command\u2026\nUsing 'VARNEL_HOME' environment variable: \n"},
    };
    for (const auto& c : cases) {
        auto tool = start(c.arguments, root, {{"VARNEL_VERBOSE", "1"}, {"VARNEL_HOME", c.home}});
        auto deadline = std::chrono::steady_clock::now() + 10s;
        std::vector<std::filesystem::path> handOffs;
        while (handOffs.empty() && std::chrono::steady_clock::now() < deadline) {
            for (const auto& entry : std::filesystem::directory_iterator(temporary))
                if (std::filesystem::exists(entry.path() / ".varnel-mergetool")) handOffs.push_back(entry.path());
            std::this_thread::sleep_for(5ms);
        }
        ASSERT_EQ(handOffs.size(), 1u);
        EXPECT_TRUE(stillWaiting(tool));
        answer(handOffs.front().string(), "0");
        auto ending = finish(tool);
        EXPECT_EQ(ending.status, 0) << ending.standardError;
        EXPECT_EQ(ending.standardOutput, c.expectedOutput);
    }
}

TEST_F(MergeHandOff, NothingIsHandedOverWhenTheRequestCannotBeWritten) {
    auto outside = tmp.makeDirectory("outside");
    auto elsewhere = tmp.makeDirectory("elsewhere");
    tmp.makeLink("T-link", elsewhere);
    auto owned = tmp.makeDirectory("T-owned");
    bool ownedByAnother = ::geteuid() == 0 && ::chown(owned.c_str(), 65534, 65534) == 0;
    struct Case {
        std::string file;
        std::string temporary;
        std::string expectedError;
    } cases[] = {
        {outside + "/x.c", temporary, "Error: Invalid path: " + outside + "/x.c\n"},
        {"a.c", tmp / "T-link", "Error: Refusing to use the temporary directory " + tmp / "T-link/" +
                                    ": it is a symbolic link\n"},
        {"a.c", owned, "Error: Refusing to use the temporary directory " + owned +
                           "/: it is owned by another user (uid 65534)\n"},
    };
    for (const auto& c : cases) {
        if (c.temporary == owned && !ownedByAnother) continue;
        auto ran = run(varnProgram, {"merge", c.file}, root, environment({{"TMPDIR", c.temporary}}));
        EXPECT_EQ(ran.terminationStatus, 1);
        EXPECT_EQ(ran.standardOutput, "");
        EXPECT_EQ(ran.standardError, c.expectedError);
        EXPECT_TRUE(std::filesystem::is_empty(c.temporary));
    }
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
    EXPECT_TRUE(delivered().empty());
    if (!ownedByAnother) GTEST_SKIP() << "a directory of another user needs root to make";
}

TEST_F(MergeHandOff, ALauncherThatCannotStartIsReportedAndTheRecordStays) {
    testsupport::TemporaryDirectory install;
    std::filesystem::create_directories(install / "bin");
    std::filesystem::copy_file(varnProgram, install / "bin/varn");
    auto ran = run(install / "bin/varn", {"merge", "a.c"}, root, environment());
    EXPECT_EQ(ran.terminationStatus, 1);
    EXPECT_EQ(ran.standardError,
              "Error: Cannot launch " + install / "bin/varnel-open" + ": No such file or directory\n");
    std::vector<std::filesystem::path> left(std::filesystem::directory_iterator(temporary), {});
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(left.front() / ".varnel-mergetool"));
}
