// varnel-open on its own: the application it starts, each way it fails, and
// an application started without being waited for.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/EndToEnd.hpp"

using namespace testsupport;

namespace {

class Launcher : public EndToEnd {
protected:
    platform::ProcessOutput launch(const std::vector<std::string>& arguments, EnvironmentChanges more = {}) {
        more.emplace("PATH", "/usr/bin:/bin");
        more.emplace("XDG_DATA_HOME", tmp / "data");
        return run(launcherProgram, arguments, tmp.path(), environment(more));
    }

    std::string target = tmp.makeDirectory("target dir");
    std::string bundle = tmp / "Fake.app";
    std::string bundleExecutable = tmp.writeFile("Fake.app/Contents/MacOS/Fake", recordingApplication(handed), true);
};

}  // namespace

TEST_F(Launcher, DoesNotWaitForTheApplication) {
    auto facts = tmp / "facts";
    tmp.writeFile("Slow.app/Contents/MacOS/Slow",
                  "#!/bin/sh\nexec >/dev/null 2>&1\n"
                  "{ echo $$; readlink /proc/$$/fd/0; } > '" +
                      facts + ".part' && mv '" + facts + ".part' '" + facts + "'\nexec sleep 60\n",
                  true);
    auto ran = launch({"-a", tmp / "Slow.app", target});
    EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(facts); }));
    auto written = readFile(facts);
    pid_t pid = std::stoi(written);
    EXPECT_EQ(::kill(pid, 0), 0) << "the application should still run";
    EXPECT_EQ(::getsid(pid), pid) << "the application leads its own session";
    EXPECT_EQ(written.substr(written.find('\n') + 1), "/dev/null\n");
    ::kill(pid, SIGKILL);
}

// The application chosen is started on the target; else the run ends with
// status 1 and one line on standard error naming what is wrong.
TEST_F(Launcher, StartsTheChosenApplicationOrSaysWhatIsMissing) {
    tmp.makeLink("data/varnel/applications/com.example.Linked", bundle);
    tmp.makeLink("home/.local/share/varnel/applications/com.example.Home", bundle);
    const std::string url = "https://open.varnel.app/diff/x?a=b c";
    tmp.writeFile("not-executable", "#!/bin/sh\n");
    tmp.makeDirectory("Empty.app");
    tmp.makeLink("data/varnel/applications/com.example.Dangling", tmp / "Gone.app");
    // Where an empty or relative PATH entry leads, from the directory the launcher starts in.
    tmp.makeLink("xdg-open", application);
    auto pipe = tmp / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string registry = " in " + tmp / "data/varnel/applications";
    struct {
        std::vector<std::string> arguments;
        std::string message;  // none when the application starts
        EnvironmentChanges environment = {};
        std::string opened = "";
    } cases[] = {
        {{"-a", bundle, target}, "", {}, target},
        {{"-a", bundle + "/", "-u", url}, "", {}, url},
        {{"-b", "com.example.Linked", "--", target}, "", {}, target},
        {{"-b", "com.example.Home", target}, "", {{"XDG_DATA_HOME", ""}}, target},
        {{"-a", bundle, tmp / "missing"}, "no such file or directory: " + tmp / "missing"},
        {{"-a", bundle, pipe}, "neither a file nor a directory: " + pipe},
        {{"-a", tmp / "None.app", target}, "no such application: " + tmp / "None.app"},
        {{"-a", tmp / "Empty.app", target}, "application has no executable " + tmp / "Empty.app/Contents/MacOS/Empty"},
        {{"-a", tmp / "not-executable", target}, "no such application: " + tmp / "not-executable"},
        {{"-b", "com.example.None", target}, "no application registered for com.example.None" + registry},
        {{"-b", "com.example.Dangling", target}, "no application registered for com.example.Dangling" + registry},
        {{"-b", "../../Fake.app", target}, "no application registered for ../../Fake.app" + registry},
        {{target}, "xdg-open not found on PATH", {{"PATH", ":bin:.:/usr/bin:/bin"}}},
    };
    std::vector<std::string> opened;
    for (const auto& c : cases) {
        auto ran = launch(c.arguments, c.environment);
        EXPECT_EQ(ran.terminationStatus, c.message.empty() ? 0 : 1);
        EXPECT_EQ(ran.standardError, c.message.empty() ? "" : "varnel-open: " + c.message + "\n");
        if (!c.opened.empty()) opened.push_back(c.opened);
        EXPECT_EQ(handedOver(opened.size()), opened);
    }
}
