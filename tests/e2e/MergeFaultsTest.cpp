// The merge hand-off when things go wrong around it: a temporary directory
// that is full or read-only, a status file that is no plain number in a
// plain file, a launcher that cannot be started.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <gtest/gtest.h>

#include "platform/FileSystem.hpp"
#include "tests/e2e/MergeRun.hpp"
#include "tests/e2e/PrivateMount.hpp"

using namespace e2e;
using namespace std::chrono_literals;

namespace {

class MergeFaults : public MergeRun {
protected:
    void SetUp() override {
        MergeRun::SetUp();
        // The application tells which hand-off it was given, and nothing else.
        writeApplication("printf '%s' \"$1\" > '" + handedOver + ".part' && mv '" + handedOver + ".part' '" +
                         handedOver + "'\n");
    }

    /// The regular files below `directory`, as paths relative to it.
    static std::vector<std::string> filesBelow(const std::string& directory) {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(directory))
            if (!entry.is_directory()) files.push_back(std::filesystem::relative(entry.path(), directory).string());
        std::sort(files.begin(), files.end());
        return files;
    }

    /// The tool's status, -1 when it had to be killed.
    static int ending(platform::Process& tool) { return awaitEnd(tool).value_or(-1); }

    /// The tool's peak resident memory in KiB, from the kernel's account.
    static long peakMemory(const platform::Process& tool) {
        std::ifstream status("/proc/" + std::to_string(tool.processIdentifier()) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
        return -1;
    }

    std::string handedOver = tmp / "handed-over";
    const std::string uuid = "[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}";
};

}  // namespace

TEST_F(MergeFaults, AFullTemporaryDirectoryLeavesNoPartialRecord) {
    std::string whyNot;
    auto mount = PrivateMount::make(temporary, 64, whyNot);
    if (!mount) GTEST_SKIP() << whyNot;
    ASSERT_TRUE(mount->fill("filler"));

    auto ran = run(varnProgram, {"merge", "a.c"}, root, environment());
    EXPECT_EQ(ran.terminationStatus, 1);
    EXPECT_EQ(ran.standardOutput, "");
    std::regex message("Error: Cannot write file " + temporary + "//" + uuid +
                       "/\\.varnel-mergetool: No space left on device\n");
    EXPECT_TRUE(std::regex_match(ran.standardError, message)) << ran.standardError;
    // No record that a reader could take for a request, whole or in part.
    EXPECT_EQ(filesBelow(temporary), std::vector<std::string>{"filler"});
    EXPECT_FALSE(std::filesystem::exists(handedOver));
}

TEST_F(MergeFaults, AReadOnlyTemporaryDirectoryIsReported) {
    std::string whyNot;
    auto mount = PrivateMount::make(temporary, 64, whyNot);
    if (!mount) GTEST_SKIP() << whyNot;
    ASSERT_TRUE(mount->makeReadOnly());

    auto ran = run(varnProgram, {"merge", "a.c"}, root, environment());
    EXPECT_EQ(ran.terminationStatus, 1);
    EXPECT_EQ(ran.standardOutput, "");
    std::regex message("Error: Cannot create directory " + temporary + "//" + uuid + ": Read-only file system\n");
    EXPECT_TRUE(std::regex_match(ran.standardError, message)) << ran.standardError;
    EXPECT_TRUE(std::filesystem::is_empty(temporary));
    EXPECT_FALSE(std::filesystem::exists(handedOver));
}

// Whatever stands at the status file's name, the tool reads no more than a
// number's worth, never blocks on it and keeps waiting for a real verdict.
TEST_F(MergeFaults, AStatusThatIsNoPlainNumberInAPlainFileIsIgnored) {
    auto target = tmp.writeFile("five", "5");
    auto huge = tmp / "huge";
    std::filesystem::resize_file(tmp.writeFile("huge", ""), std::uintmax_t{1} << 30);  // sparse: no disk taken
    struct Case {
        std::string name;
        std::function<void(const std::string&)> make;
        int status;  // the verdict once a real one is moved in; the link's own
    } cases[] = {
        {"a directory", [](const std::string& status) { std::filesystem::create_directory(status); }, 7},
        {"a named pipe", [](const std::string& status) { ASSERT_EQ(::mkfifo(status.c_str(), 0600), 0); }, 7},
        {"a link to an endless device", [](const std::string& status) {
             std::filesystem::create_symlink("/dev/zero", status);
         }, 7},
        {"a huge file", [&](const std::string& status) { std::filesystem::rename(huge, status); }, 7},
        {"text that is not UTF-8", [&](const std::string& status) {
             ASSERT_TRUE(platform::writeFileAtomically(status, "\xff\xfe" "1"));
         }, 7},
        {"a dangling link", [](const std::string& status) { std::filesystem::create_symlink("nowhere", status); }, 7},
        {"a link to a number", [&](const std::string& status) { std::filesystem::create_symlink(target, status); }, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(handedOver);
        auto tool = start({"merge", "a.c"}, root);
        auto directory = awaitFile(handedOver);
        ASSERT_TRUE(directory) << "nothing was handed over";
        auto status = *directory + "/status";
        c.make(status);
        // A second entry, so the tool looks again whatever the first was. A
        // verdict it took may already have ended it and removed the directory.
        auto nudged = platform::writeFileAtomically(*directory + "/nudge", "");
        if (c.status == 5) {
            EXPECT_EQ(ending(tool), 5);
            continue;
        }
        ASSERT_TRUE(nudged);
        auto ended = tool.waitUntilExit(300ms);
        ASSERT_TRUE(ended && !*ended) << "the tool ended on it";
        EXPECT_LT(peakMemory(tool), 200 * 1024) << "KiB taken by the tool";
        std::filesystem::remove(status);
        ASSERT_TRUE(platform::writeFileAtomically(status, "7"));
        EXPECT_EQ(ending(tool), 7);
        EXPECT_FALSE(std::filesystem::exists(*directory));
    }
}

// Every command that hands something over reports a launcher it cannot
// start, and ends with status 1.
TEST_F(MergeFaults, ALauncherThatIsMissingOrNotExecutableIsReported) {
    testsupport::TemporaryDirectory install;
    std::filesystem::create_directories(install / "bin");
    std::filesystem::copy_file(varnProgram, install / "bin/varn");
    const std::string launcher = install / "bin/varnel-open";
    const std::string announced = "Using 'VARNEL_HOME' environment variable: " + application + "\n";
    struct Case {
        std::vector<std::string> arguments;
        std::string output;
    } cases[] = {{{"merge", "a.c"}, announced}, {{"diff", "main"}, announced}, {{}, ""}};
    for (bool present : {false, true}) {
        if (present) {
            std::filesystem::copy_file(launcherProgram, launcher);
            ::chmod(launcher.c_str(), 0644);
        }
        for (const auto& c : cases) {
            std::string command = c.arguments.empty() ? "open" : c.arguments[0];
            SCOPED_TRACE((present ? "not executable: " : "missing: ") + command);
            auto ran = run(install / "bin/varn", c.arguments, root, environment());
            EXPECT_EQ(ran.terminationStatus, 1) << ran.standardError;
            EXPECT_EQ(ran.standardError, "Error: Cannot launch " + launcher + ": " +
                                             (present ? "Permission denied" : "No such file or directory") + "\n");
            EXPECT_EQ(ran.standardOutput, c.output);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(handedOver));
}
