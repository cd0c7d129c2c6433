#pragma once
// The fixture of the end-to-end tests: a scratch directory with a private
// T, a home of the test's own where git is set up for varn with README.md's
// own lines (as a user pastes them), and an application that records what
// it is handed. Nothing of the machine's git configuration takes part.

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/support/Programs.hpp"
#include "tests/support/ShellDriver.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace testsupport {

using shelldriver::lines;

/// The application: for each target it notes the target (a line of
/// `directory`/targets), a copy of the hand-off record it finds there, and
/// the descriptors and signal dispositions it inherited (`directory`/
/// NAME.record and NAME.process, NAME the target's last component; the line
/// last, so that once it is there the rest is too). When VARNEL_STUB_MERGE says how to answer a
/// merge, it passes the target on to the stand-in application.
inline std::string recordingApplication(const std::string& directory) {
    return "#!/bin/sh\nd='" + directory + R"('
exec >/dev/null 2>&1
name=$(basename "$1")
{ ls -l /proc/$$/fd; grep '^Sig' /proc/self/status; } > "$d/$name.process"
for f in "$1/.varnel-mergetool" "$1/.varnel-difftool"; do
  [ -f "$f" ] && cp "$f" "$d/$name.record"
done
printf '%s\n' "$1" >> "$d/targets"
[ -z "$VARNEL_STUB_MERGE" ] || exec ')" +
           stubProgram + "' \"$1\"\n";
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        // The tool would find that repository instead of the test's own.
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
    }

    /// The test's own HOME, T and git, the built programs first on PATH,
    /// the recording application as Varnel, quiet, at 80 columns.
    EnvironmentChanges environment(EnvironmentChanges more = {}) const {
        for (const char* name : {"GIT_DIR", "GIT_WORK_TREE", "GIT_INDEX_FILE", "GIT_CONFIG_GLOBAL", "VARNEL_VERBOSE",
                                 "VARNEL_STUB_MERGE", "LINES"})
            more.emplace(name, std::nullopt);
        const char* path = std::getenv("PATH");
        for (auto [name, value] : {std::pair<const char*, std::string>{"HOME", home},
                                   {"XDG_CONFIG_HOME", home + "/.config"},
                                   {"TMPDIR", temporary},
                                   {"VARNEL_HOME", application},
                                   {"VARNEL_STUB_LOG", stubLog},
                                   {"PATH", tmp / "bin:" + binaryDirectory + ":" + (path ? path : "/usr/bin:/bin")},
                                   {"COLUMNS", "80"},
                                   {"GIT_CONFIG_NOSYSTEM", "1"},
                                   {"GIT_AUTHOR_NAME", "Ada"},
                                   {"GIT_AUTHOR_EMAIL", "ada@example.invalid"},
                                   {"GIT_COMMITTER_NAME", "Ada"},
                                   {"GIT_COMMITTER_EMAIL", "ada@example.invalid"}})
            more.emplace(name, value);
        return more;
    }

    /// varn run to its end. Nothing answers a merge it hands over unless the
    /// stand-in application is told how (VARNEL_STUB_MERGE): such a run,
    /// which would wait for a verdict to the limit, is stopped at once.
    platform::ProcessOutput varn(const std::vector<std::string>& arguments, const std::string& directory,
                                 const EnvironmentChanges& more = {}) const {
        auto changes = environment(more);
        auto answer = changes.at("VARNEL_STUB_MERGE");
        bool answered = answer && *answer != "none";
        auto before = lines(readFile(handed + "/targets")).size();
        auto process = start(varnProgram, arguments, directory, changes);
        return finish(process, std::chrono::seconds(60), [&]() -> std::optional<std::string> {
            auto targets = lines(readFile(handed + "/targets"));
            for (auto i = before; i < targets.size() && !answered; ++i)
                if (std::filesystem::exists(targets[i] + "/.varnel-mergetool"))
                    return "it handed a merge over, and nothing answers one in a run to its end";
            return std::nullopt;
        });
    }

    /// git in `directory`, set up for varn first; the test fails unless git
    /// ends with `status`.
    platform::ProcessOutput git(const std::vector<std::string>& arguments, const std::string& directory,
                                const EnvironmentChanges& more = {}, int status = 0) const {
        if (!gitConfigured) {
            gitConfigured = true;
            constexpr std::string_view command = "git config --global ";
            for (auto line : lines(readFile(VARN_SOURCE_DIR "/README.md"))) {
                line.erase(0, line.find_first_not_of(' '));
                if (!line.starts_with(command)) continue;
                auto ran = run("/bin/sh", {"-c", line}, home, environment());
                EXPECT_EQ(ran.terminationStatus, 0) << line << ": " << ran.standardError;
            }
        }
        std::vector<std::string> words{"git"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        auto ran = run("/usr/bin/env", words, directory, environment(more));
        EXPECT_EQ(ran.terminationStatus, status) << "git " << arguments[0] << ": " << ran.standardError;
        return ran;
    }

    /// The targets handed to the application so far, in order, once there
    /// are `count` of them (at most 10 s), or at once when no process of the
    /// test runs any more to hand one over.
    std::vector<std::string> handedOver(std::size_t count = 1) const {
        eventually([&] { return lines(readFile(handed + "/targets")).size() >= count || !anyOfOursRuns(); });
        return lines(readFile(handed + "/targets"));
    }
    /// Whether a process started with this test's environment (varn, git,
    /// the launcher, the application) still runs: every such environment
    /// names the test's own directory.
    bool anyOfOursRuns() const {
        std::error_code unreadable;
        for (const auto& entry : std::filesystem::directory_iterator("/proc", unreadable))
            if (std::isdigit(static_cast<unsigned char>(entry.path().filename().string()[0])) &&
                readFile(entry.path() / "environ").find(tmp.path() + "/") != std::string::npos)
                return true;
        return false;
    }
    /// The hand-off record the application found in `target`.
    nlohmann::json recordOf(const std::string& target) const {
        return nlohmann::json::parse(readFile(handed + "/" + std::filesystem::path(target).filename().string() +
                                              ".record"));
    }

    TemporaryDirectory tmp;
    std::string home = tmp.makeDirectory("home");
    std::string temporary = tmp.makeDirectory("T", 0700);
    std::string handed = tmp.makeDirectory("handed");
    std::string application = tmp.writeFile("bin/xdg-open", recordingApplication(handed), true);
    std::string stubLog = tmp / "stub.log";
    /// A work tree whose git directory the test fills, or `git init` does.
    std::string root = tmp / "repo";
    std::string gitDirectory = tmp.makeDirectory("repo/.git");
    std::string announced = "Using 'VARNEL_HOME' environment variable: " + application + "\n";
    mutable bool gitConfigured = false;
};

}  // namespace testsupport
