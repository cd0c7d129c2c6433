#pragma once
// The setting of a merge through the real tool and launcher: a private
// temporary directory, a repository, and an application (a shell script
// each suite writes for what it needs to learn) that the launcher starts.

#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"

namespace e2e {

class MergeRun : public ::testing::Test {
protected:
    void SetUp() override {
        // The tool would find that repository instead of the test's own.
        if (std::filesystem::exists("/tmp/.git")) GTEST_SKIP() << "the temporary directory lies inside a repository";
        ::chmod(temporary.c_str(), 0700);
    }

    /// The application: `body` as a shell script, its own output silenced.
    void writeApplication(const std::string& body) {
        tmp.writeFile("app", "#!/bin/sh\nexec >/dev/null 2>&1\n" + body, true);
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

    /// The tool's status once it ends, within 5 s; else it is killed and
    /// there is none.
    static std::optional<int> awaitEnd(platform::Process& tool) {
        if (auto status = tool.waitUntilExit(std::chrono::seconds(5)); status && *status) return **status;
        (void)tool.sendSignal(SIGKILL);
        (void)tool.waitUntilExit();
        return std::nullopt;
    }

    testsupport::TemporaryDirectory tmp;
    std::string temporary = tmp.makeDirectory("T");
    std::string application = tmp / "app";
    std::string root = tmp.makeDirectory("repo");
    std::string gitDirectory = tmp.makeDirectory("repo/.git");
};

}  // namespace e2e
