// The merge hand-off through the real tool and launcher, and what goes wrong
// around it. A tiny application (a script) keeps what it is handed; the test
// plays the application's part and writes the status file itself.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "platform/FileSystem.hpp"
#include "tests/e2e/PrivateMount.hpp"
#include "tests/e2e/Programs.hpp"

using namespace e2e;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::string uuid = "[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}";

struct Ending {
    int status = -1;
    std::string standardOutput;
    std::string standardError;
};

class MergeHandOff : public ::testing::Test {
protected:
    void SetUp() override {
        // The tool would find that repository instead of the test's own.
        if (fs::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        ::chmod(temporary.c_str(), 0700);
        // For every delivery: the descriptors it inherited and a copy of the
        // record, named after the hand-off directory; the copy last, so that
        // once it is there the rest is too.
        tmp.writeFile("app",
                      "#!/bin/sh\nexec >/dev/null 2>&1\nname=$(basename \"$1\")\n"
                      "ls -l /proc/$$/fd > '" + deliveries + "'/$name.fds\n"
                      "cp \"$1/.varnel-mergetool\" '" + deliveries + "'/$name.part\n"
                      "mv '" + deliveries + "'/$name.part '" + deliveries + "'/$name.json\n",
                      true);
    }

    EnvironmentChanges environment(EnvironmentChanges more = {}) const {
        more.emplace("TMPDIR", temporary);
        more.emplace("VARNEL_HOME", application);
        more.emplace("VARNEL_VERBOSE", std::nullopt);
        return more;
    }

    /// Starts the tool in the background, both streams captured.
    platform::Process start(const std::vector<std::string>& arguments, const std::string& directory,
                            const EnvironmentChanges& changes = {}) const {
        auto started = platform::Process::launch(varnProgram, arguments,
                                                 {.captureOutput = true, .captureError = true, .nullInput = true,
                                                  .workingDirectory = directory,
                                                  .environment = environmentWith(environment(changes))});
        if (!started) throw std::runtime_error(started.error().description);
        return std::move(*started);
    }

    /// The hand-off directories delivered to the application so far.
    std::vector<std::string> delivered() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(deliveries))
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

    void forgetDeliveries() const {
        fs::remove_all(deliveries);
        fs::create_directory(deliveries);
    }

    nlohmann::json recordOf(const std::string& name) const {
        return nlohmann::json::parse(testsupport::readFile(deliveries + "/" + name + ".json"));
    }

    std::string handOff(const std::string& name, const std::string& in = {}) const {
        return (in.empty() ? temporary : in) + "//" + name;
    }

    /// Writes the status as the application does: complete, moved into place.
    static void answer(const std::string& directory, const std::string& status) {
        ASSERT_TRUE(platform::writeFileAtomically(directory + "/status", status));
    }

    /// The tool is still waiting `period` from now.
    static bool stillWaiting(platform::Process& tool, std::chrono::milliseconds period = 300ms) {
        auto ended = tool.waitUntilExit(period);
        return ended && !*ended;
    }

    /// The tool's output and status; it is killed when it does not end
    /// within `limit`.
    static Ending finish(platform::Process& tool, std::chrono::milliseconds limit = 5s) {
        auto status = tool.waitUntilExit(limit);
        if (!status || !*status) {
            (void)tool.sendSignal(SIGKILL);
            (void)tool.waitUntilExit();
            return {.standardError = "the tool did not end"};
        }
        Ending ending{.status = **status};
        if (auto output = tool.readToEnd(5s)) {
            ending.standardOutput = output->standardOutput;
            ending.standardError = output->standardError;
        }
        return ending;
    }

    /// The tool's peak resident memory in KiB, from the kernel's account.
    static long peakMemory(const platform::Process& tool) {
        std::ifstream status("/proc/" + std::to_string(tool.processIdentifier()) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
        return -1;
    }

    /// The tool's child processes, running or ended and not waited for.
    static std::string childrenOf(const platform::Process& tool) {
        auto pid = std::to_string(tool.processIdentifier());
        return testsupport::readFile("/proc/" + pid + "/task/" + pid + "/children");
    }

    testsupport::TemporaryDirectory tmp;
    std::string temporary = tmp.makeDirectory("T");
    std::string application = tmp / "app";
    std::string root = tmp.makeDirectory("repo");
    std::string gitDirectory = tmp.makeDirectory("repo/.git");
    std::string deliveries = tmp.makeDirectory("deliveries");
    std::string subdirectory = tmp.makeDirectory("repo/sub");
};

}  // namespace

TEST_F(MergeHandOff, WritesTheRecordHandsItOverAndEndsWithTheVerdict) {
    tmp.makeLink("via", "repo");
    // The file need not exist; the path reaches the record through a link.
    // T given relative to the current directory: the record names it absolute.
    auto tool = start({"merge", "../../via/sub/a.c"}, subdirectory, {{"TMPDIR", "../../T"}});
    auto names = awaitDeliveries();
    ASSERT_EQ(names.size(), 1u);
    auto name = names.front();
    EXPECT_TRUE(std::regex_match(name, std::regex(uuid))) << name;
    EXPECT_EQ(recordOf(name), (nlohmann::json{{"repo", root}, {"fileToMerge", root + "/sub/a.c"},
                                              {"path", handOff(name)}}));
    // The watcher's descriptor is not the application's.
    EXPECT_EQ(testsupport::readFile(deliveries + "/" + name + ".fds").find("inotify"), std::string::npos);

    EXPECT_TRUE(stillWaiting(tool));
    // The launcher, done once the application runs, is waited for.
    for (int i = 0; i < 500 && !childrenOf(tool).empty(); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(childrenOf(tool), "");
    answer(handOff(name), "0");
    auto ending = finish(tool);
    EXPECT_EQ(ending.status, 0) << ending.standardError;
    EXPECT_EQ(ending.standardOutput, "Using 'VARNEL_HOME' environment variable: " + application + "\n");
    EXPECT_EQ(ending.standardError, "");
    EXPECT_FALSE(fs::exists(handOff(name)));
}

// Only 0 is success: a number that is 0 modulo 256 but not 0 ends in 255.
// A shared T like /tmp, root's and sticky, serves as well as a private one.
TEST_F(MergeHandOff, TheReportedNumberIsTheExitStatus) {
    std::string shared = "/tmp";
    if (::geteuid() == 0) ::chmod((shared = tmp.makeDirectory("shared")).c_str(), 01777);
    struct Case {
        std::string text;
        int status;
        std::string temporary;
    } cases[] = {{"-3", 253, temporary}, {"7", 7, temporary}, {"-1", 255, temporary}, {"+300", 44, temporary},
                 {"256", 255, temporary}, {"-256", 255, temporary}, {"0", 0, shared}};
    for (const auto& c : cases) {
        forgetDeliveries();
        auto tool = start({"merge", root + "/a.c"}, tmp.path(), {{"TMPDIR", c.temporary}});
        auto names = awaitDeliveries();
        ASSERT_EQ(names.size(), 1u) << c.text;
        answer(handOff(names.front(), c.temporary), c.text);
        EXPECT_EQ(finish(tool).status, c.status) << c.text;
        EXPECT_FALSE(fs::exists(handOff(names.front(), c.temporary)));
    }
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
    ASSERT_TRUE(byFile.contains(root + "/sub/a.c") && byFile.contains(root + "/sub/b.c"));

    answer(handOff(byFile[root + "/sub/b.c"]), "-2");
    EXPECT_EQ(finish(mergetool).status, 254);
    EXPECT_TRUE(stillWaiting(merge, 100ms));
    answer(handOff(byFile[root + "/sub/a.c"]), "0");
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
        // No application at all: announced all the same; the launcher fails.
        {{"merge", "a.c"}, "", "Running Merge Command\u2026\nUsing 'VARNEL_HOME' environment variable: \n"},
    };
    for (const auto& c : cases) {
        forgetDeliveries();
        auto tool = start(c.arguments, root, {{"VARNEL_VERBOSE", "1"}, {"VARNEL_HOME", c.home}});
        if (!c.home.empty()) {
            auto names = awaitDeliveries();
            ASSERT_EQ(names.size(), 1u);
            answer(handOff(names.front()), "0");
        }
        auto ending = finish(tool);
        EXPECT_EQ(ending.status, c.home.empty() ? 1 : 0) << ending.standardError;
        EXPECT_EQ(ending.standardOutput, c.expectedOutput);
    }
}

// A wait that cannot end in a verdict ends at once: a hand-off directory
// removed or renamed is an error; an interrupted wait removes its hand-off
// directory and ends as a shell reports a signal. Nothing is left in T.
TEST_F(MergeHandOff, AWaitThatNoVerdictCanEndEndsAtOnce) {
    ::signal(SIGHUP, SIG_DFL);  // as from a terminal, where it is not ignored
    struct Case {
        std::string name;
        std::function<void(platform::Process&, const std::string&)> act;
        int status;
        bool reported;
    } cases[] = {
        {"removed", [](auto&, const std::string& directory) { fs::remove_all(directory); }, 1, true},
        {"renamed", [&](auto&, const std::string& directory) { fs::rename(directory, temporary + "/x"); }, 1, true},
        {"terminated", [](platform::Process& tool, auto&) { ASSERT_TRUE(tool.sendSignal(SIGTERM)); }, 143, false},
        {"hung up", [](platform::Process& tool, auto&) { ASSERT_TRUE(tool.sendSignal(SIGHUP)); }, 129, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        forgetDeliveries();
        auto tool = start({"merge", "a.c"}, root);
        auto names = awaitDeliveries();
        ASSERT_EQ(names.size(), 1u);
        auto directory = handOff(names.front());
        c.act(tool, directory);
        auto ending = finish(tool, 1s);
        EXPECT_EQ(ending.status, c.status);
        EXPECT_EQ(ending.standardError,
                  c.reported ? "Error: The hand-off directory " + directory +
                                   " was removed or replaced before the application answered\n"
                             : "");
        EXPECT_TRUE(fs::is_empty(temporary));
    }
}

// Whatever the umask, nobody but the user can look into a hand-off: not a
// merge's, not a difftool session's with its copy of a file from outside
// the repository. Even a umask that takes the owner's own bits leaves the
// directories usable.
TEST_F(MergeHandOff, HandOffsArePrivateWhateverTheUmask) {
    auto outside = tmp.writeFile("outside.txt", "x");
    ::chmod(outside.c_str(), 0666);
    auto permissions = [](const fs::path& path) { return fs::symlink_status(path).permissions(); };
    auto oldMask = ::umask(0200);
    auto merge = start({"merge", "a.c"}, root);
    auto difftool = run(varnProgram, {"_difftool", "--base", "/dev/null", "--local", outside, "--remote", "a.c",
                                      "--merged", "a.c"},
                        root, environment());
    ::umask(oldMask);
    auto names = awaitDeliveries();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(difftool.terminationStatus, 0) << difftool.standardError;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(temporary)) {
        auto others = permissions(entry.path()) & (fs::perms::group_all | fs::perms::others_all);
        EXPECT_EQ(others, fs::perms::none) << entry.path();
        EXPECT_TRUE(!entry.is_directory() || permissions(entry.path()) == fs::perms::owner_all) << entry.path();
        files += !entry.is_directory();
    }
    EXPECT_EQ(files, 3);  // the two records and the copy
    answer(handOff(names.front()), "0");
    EXPECT_EQ(finish(merge).status, 0);
}

// A request that cannot be written leaves nothing a reader could take for
// one, whole or in part.
TEST_F(MergeHandOff, NothingIsHandedOverWhenTheRequestCannotBeWritten) {
    auto literal = [](const std::string& text) {
        return std::regex_replace(text, std::regex(R"([.^$|()[\]{}*+?\\])"), R"(\$&)");
    };
    auto outside = tmp.makeDirectory("outside");
    tmp.makeLink("T-link", tmp.makeDirectory("elsewhere"));
    auto owned = tmp.makeDirectory("T-owned");
    // Others may write in these, and they are not sticky.
    auto everyone = tmp.makeDirectory("T-0777"), group = tmp.makeDirectory("T-0770");
    ::chmod(everyone.c_str(), 0777);
    ::chmod(group.c_str(), 0770);
    bool ownedByAnother = ::geteuid() == 0 && ::chown(owned.c_str(), 65534, 65534) == 0;
    enum Mount { none, full, readOnly };
    struct Case {
        std::string file;
        std::string temporary;
        Mount mount;
        std::string expectedError;  // a pattern
    } cases[] = {
        {outside + "/x.c", temporary, none, literal("Error: Invalid path: " + outside + "/x.c\n")},
        {"a.c", tmp / "T-link", none,
         literal("Error: Refusing to use the temporary directory " + tmp / "T-link/" + ": it is a symbolic link\n")},
        {"a.c", owned, none,
         literal("Error: Refusing to use the temporary directory " + owned +
                 "/: it is owned by another user (uid 65534)\n")},
        {"a.c", everyone, none,
         literal("Error: Refusing to use the temporary directory " + everyone +
                 "/: other users can write in it (mode 0777)\n")},
        {"a.c", group, none,
         literal("Error: Refusing to use the temporary directory " + group +
                 "/: other users can write in it (mode 0770)\n")},
        {"a.c", temporary, full,
         literal("Error: Cannot write file " + temporary + "//") + uuid +
             literal("/.varnel-mergetool: No space left on device\n")},
        {"a.c", temporary, readOnly,
         literal("Error: Cannot create directory " + temporary + "//") + uuid + ": Read-only file system\n"},
    };
    std::string skipped;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expectedError);
        if (c.temporary == owned && !ownedByAnother) {
            skipped = "a directory of another user needs root to make";
            continue;
        }
        std::unique_ptr<PrivateMount> mount;
        if (c.mount != none) {
            mount = PrivateMount::make(temporary, 64, skipped);
            if (!mount) continue;
            ASSERT_TRUE(c.mount == readOnly ? mount->makeReadOnly() : mount->fill("filler"));
        }
        auto ran = run(varnProgram, {"merge", c.file}, root, environment({{"TMPDIR", c.temporary}}));
        EXPECT_EQ(ran.terminationStatus, 1);
        EXPECT_EQ(ran.standardOutput, "");
        EXPECT_TRUE(std::regex_match(ran.standardError, std::regex(c.expectedError))) << ran.standardError;
        std::vector<fs::path> left(fs::recursive_directory_iterator(c.temporary), {});
        std::erase_if(left, [](const fs::path& p) { return fs::is_directory(p); });
        EXPECT_EQ(left, c.mount == full ? std::vector<fs::path>{temporary + "/filler"} : std::vector<fs::path>{});
    }
    EXPECT_TRUE(delivered().empty());
    if (!skipped.empty()) GTEST_SKIP() << skipped;
}

// Whatever stands at the status file's name, the tool reads no more than a
// number's worth, never blocks on it and keeps waiting for a real verdict.
TEST_F(MergeHandOff, AStatusThatIsNoPlainNumberInAPlainFileIsIgnored) {
    auto target = tmp.writeFile("five", "5");
    auto huge = tmp / "huge";
    fs::resize_file(tmp.writeFile("huge", ""), std::uintmax_t{1} << 30);  // sparse: no disk taken
    struct Case {
        std::string name;
        std::function<void(const std::string&)> make;
    } cases[] = {
        {"a directory", [](const std::string& status) { fs::create_directory(status); }},
        {"a named pipe", [](const std::string& status) { ASSERT_EQ(::mkfifo(status.c_str(), 0600), 0); }},
        {"a link to an endless device", [](const std::string& status) { fs::create_symlink("/dev/zero", status); }},
        {"a huge file", [&](const std::string& status) { fs::rename(huge, status); }},
        {"text that is not UTF-8",
         [&](const std::string& status) { ASSERT_TRUE(platform::writeFileAtomically(status, "\xff\xfe" "1")); }},
        {"a dangling link", [](const std::string& status) { fs::create_symlink("nowhere", status); }},
        {"a link to a number", [&](const std::string& status) { fs::create_symlink(target, status); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        forgetDeliveries();
        auto tool = start({"merge", "a.c"}, root);
        auto names = awaitDeliveries();
        ASSERT_EQ(names.size(), 1u) << "nothing was handed over";
        auto directory = handOff(names.front());
        auto status = directory + "/status";
        c.make(status);
        // A second entry, so the tool looks again whatever the first was.
        ASSERT_TRUE(platform::writeFileAtomically(directory + "/nudge", ""));
        ASSERT_TRUE(stillWaiting(tool)) << "the tool ended on it";
        EXPECT_LT(peakMemory(tool), 200 * 1024) << "KiB taken by the tool";
        fs::remove(status);
        answer(directory, "7");
        EXPECT_EQ(finish(tool).status, 7);
        EXPECT_FALSE(fs::exists(directory));
    }
}

// Every command that hands something over reports a launcher it cannot
// start, and ends with status 1; a merge leaves no hand-off behind.
TEST_F(MergeHandOff, ALauncherThatIsMissingOrNotExecutableIsReported) {
    testsupport::TemporaryDirectory install;
    auto tool = copyOfTool(install);
    const std::string launcher = install / "bin/varnel-open";
    const std::string announced = "Using 'VARNEL_HOME' environment variable: " + application + "\n";
    struct Case {
        std::vector<std::string> arguments;
        std::string output;
    } cases[] = {{{"merge", "a.c"}, announced}, {{"diff", "main"}, announced}, {{}, ""}};
    for (bool present : {false, true}) {
        if (present) {
            fs::copy_file(launcherProgram, launcher);
            ::chmod(launcher.c_str(), 0644);
        }
        for (const auto& c : cases) {
            SCOPED_TRACE((present ? "not executable: " : "missing: ") + (c.arguments.empty() ? "open" : c.arguments[0]));
            auto ran = run(tool, c.arguments, root, environment());
            EXPECT_EQ(ran.terminationStatus, 1) << ran.standardError;
            EXPECT_EQ(ran.standardError, "Error: Cannot launch " + launcher + ": " +
                                             (present ? "Permission denied" : "No such file or directory") + "\n");
            EXPECT_EQ(ran.standardOutput, c.output);
        }
    }
    EXPECT_TRUE(fs::is_empty(temporary));
    EXPECT_TRUE(delivered().empty());
}
