// varnel-open on its own: each way it ends, and an application started
// without being waited for.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"

using namespace e2e;

namespace {

constexpr const char* usage = "usage: varnel-open [-a APPLICATION | -b BUNDLE_ID] (-u URL | PATH)\n";

class Launcher : public ::testing::Test {
protected:
    platform::ProcessOutput launch(const std::vector<std::string>& arguments, EnvironmentChanges changes = {}) {
        changes.emplace("PATH", "/usr/bin:/bin");
        changes.emplace("XDG_DATA_HOME", tmp / "data");
        return run(launcherProgram, arguments, tmp.path(), changes);
    }
    /// Fails the test unless the launcher ended with status 1 and one line
    /// on standard error that mentions `subject`.
    static void expectFailure(const platform::ProcessOutput& ran, const std::string& subject) {
        EXPECT_EQ(ran.terminationStatus, 1) << ran.standardError;
        EXPECT_EQ(ran.standardError.rfind("varnel-open: ", 0), 0u) << ran.standardError;
        EXPECT_EQ(std::count(ran.standardError.begin(), ran.standardError.end(), '\n'), 1) << ran.standardError;
        EXPECT_NE(ran.standardError.find(subject), std::string::npos) << ran.standardError;
    }

    testsupport::TemporaryDirectory tmp;
    std::string record = tmp / "opened";
    std::string target = tmp.makeDirectory("target dir");
    std::string bundle = tmp / "Fake.app";
    std::string bundleExecutable = tmp.writeFile("Fake.app/Contents/MacOS/Fake", recordingScript(record), true);
};

}  // namespace

TEST_F(Launcher, StartsTheChosenApplicationOnTheTarget) {
    auto plainProgram = tmp.writeFile("plain-app", recordingScript(record), true);
    tmp.makeLink("data/varnel/applications/com.example.Linked", bundle);
    tmp.makeLink("home/.local/share/varnel/applications/com.example.Home", bundle);
    tmp.writeFile("bin/xdg-open", recordingScript(record), true);
    const std::string url = "https://open.varnel.app/diff/x?a=b c";
    struct Case {
        std::vector<std::string> arguments;
        EnvironmentChanges environment;
        std::string opened;
    } cases[] = {
        {{"-a", bundle, target}, {}, target},
        {{"-a", bundle + "/", "-u", url}, {}, url},
        {{"-u", url, "-a", plainProgram}, {}, url},
        {{"-b", "com.example.Linked", "--", target}, {}, target},
        {{"-b", "com.example.Home", target}, {{"XDG_DATA_HOME", ""}, {"HOME", tmp / "home"}}, target},
        {{"target dir"}, {{"PATH", tmp / "bin" + ":/usr/bin:/bin"}}, "target dir"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(record);
        auto ran = launch(c.arguments, c.environment);
        EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
        EXPECT_EQ(ran.standardError, "");
        EXPECT_EQ(awaitFile(record), c.opened + "\n") << c.arguments.front();
    }
}

TEST_F(Launcher, DoesNotWaitForTheApplication) {
    auto facts = tmp / "facts";
    tmp.writeFile("Slow.app/Contents/MacOS/Slow",
                  "#!/bin/sh\n"
                  "exec >/dev/null 2>&1\n"
                  "{ echo $$; readlink /proc/$$/fd/0; } > '" + facts + ".part' && mv '" + facts + ".part' '" + facts +
                      "'\n"
                  "exec sleep 60\n",
                  true);
    auto start = std::chrono::steady_clock::now();
    auto ran = launch({"-a", tmp / "Slow.app", target});
    EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    auto written = awaitFile(facts);
    ASSERT_TRUE(written);
    pid_t pid = std::stoi(*written);
    EXPECT_EQ(::kill(pid, 0), 0) << "the application should still run";
    EXPECT_EQ(::getsid(pid), pid) << "the application leads its own session";
    EXPECT_EQ(written->substr(written->find('\n') + 1), "/dev/null\n");
    ::kill(pid, SIGKILL);
}

TEST_F(Launcher, MissingPiecesEndWithStatusOne) {
    tmp.writeFile("not-executable", "#!/bin/sh\n");
    tmp.makeDirectory("Empty.app");
    tmp.makeLink("data/varnel/applications/com.example.Dangling", tmp / "Gone.app");
    // Where an empty or relative PATH entry leads, from the directory the launcher starts in.
    tmp.writeFile("xdg-open", recordingScript(record), true);
    tmp.writeFile("bin/xdg-open", recordingScript(record), true);
    auto pipe = tmp / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::vector<std::string> arguments;
        std::string subject;
        EnvironmentChanges environment = {};
    } cases[] = {
        {{"-a", bundle, tmp / "missing"}, tmp / "missing"},
        {{"-a", tmp / "None.app", target}, tmp / "None.app"},
        {{"-a", tmp / "Empty.app", target}, tmp / "Empty.app"},
        {{"-a", tmp / "not-executable", target}, "not-executable"},
        {{"-a", "", target}, "application"},
        {{"-b", "com.example.None", target}, "com.example.None"},
        {{"-b", "com.example.Dangling", target}, "com.example.Dangling"},
        {{"-b", "../../Fake.app", target}, "../../Fake.app"},
        {{target}, "xdg-open", {{"PATH", ":bin:.:/usr/bin:/bin"}}},
        {{"-a", bundle, pipe}, "neither a file nor a directory: " + pipe},
    };
    for (const auto& c : cases) expectFailure(launch(c.arguments, c.environment), c.subject);
    EXPECT_FALSE(std::filesystem::exists(record));
}

TEST_F(Launcher, BadUsageEndsWithStatusTwo) {
    using List = std::vector<std::string>;
    for (const List& arguments : {List{}, List{"-a"}, List{"-a", bundle, "-b", "id", target},
                                  List{"-u", "https://x", target}, List{target, target}, List{"-x", target},
                                  List{"-a", bundle, "-a", bundle, target}}) {
        auto ran = launch(arguments);
        EXPECT_EQ(ran.terminationStatus, 2);
        EXPECT_EQ(ran.standardError, usage);
    }
}
