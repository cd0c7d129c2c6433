// The merge hand-off through the real tool and launcher, and what goes wrong
// around it. The recording application keeps what it is handed and never
// answers: the test plays the application's part and writes the status as
// it does, complete and moved into place.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "platform/FileSystem.hpp"
#include "tests/support/EndToEnd.hpp"
#include "tests/support/PrivateMount.hpp"

using namespace testsupport;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::string uuid = "[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}";

class MergeHandOff : public EndToEnd {
protected:
    /// The hand-off directory of the next delivery to the application.
    std::string nextHandOff() {
        ++deliveries;
        return handedOver(deliveries).at(deliveries - 1);
    }

    std::string subdirectory = tmp.makeDirectory("repo/sub");
    std::size_t deliveries = 0;
};

}  // namespace

TEST_F(MergeHandOff, WritesTheRecordHandsItOverAndEndsWithTheVerdict) {
    tmp.makeLink("via", "repo");
    auto outside = tmp.writeFile("outside.txt", "x");
    ::chmod(outside.c_str(), 0666);
    // Whatever the umask, nobody but the user can look into a hand-off: not
    // a merge's, not a difftool session's with its copy of a file from
    // outside the repository. Even a umask that takes the owner's own bits
    // leaves the directories usable.
    auto oldMask = ::umask(0200);
    // The file need not exist; the path reaches the record through a link.
    // T given relative to the current directory: the record names it absolute.
    auto tool = start(varnProgram, {"merge", "../../via/sub/a.c"}, subdirectory, environment({{"TMPDIR", "../../T"}}));
    auto directory = nextHandOff();
    auto difftool = varn({"_difftool", "--base", "/dev/null", "--local", outside, "--remote", "a.c", "--merged", "a.c"},
                         root);
    ::umask(oldMask);
    EXPECT_EQ(difftool.terminationStatus, 0) << difftool.standardError;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(temporary)) {
        auto permissions = fs::symlink_status(entry.path()).permissions();
        EXPECT_EQ(permissions & (fs::perms::group_all | fs::perms::others_all), fs::perms::none) << entry.path();
        EXPECT_TRUE(!entry.is_directory() || permissions == fs::perms::owner_all) << entry.path();
        files += !entry.is_directory();
    }
    EXPECT_EQ(files, 3);  // the two records and the copy
    EXPECT_TRUE(std::regex_match(directory, std::regex(temporary + "//" + uuid))) << directory;
    EXPECT_EQ(recordOf(directory),
              (nlohmann::json{{"repo", root}, {"fileToMerge", root + "/sub/a.c"}, {"path", directory}}));
    // The watcher's descriptor is not the application's, nor are the
    // signals the tool blocks or ignores.
    auto process = readFile(handed + "/" + fs::path(directory).filename().string() + ".process");
    EXPECT_EQ(process.find("inotify"), std::string::npos) << process;
    auto mask = [&](const std::string& field) {
        return std::stoull(process.substr(process.find(field + ":\t") + field.size() + 2), nullptr, 16);
    };
    EXPECT_EQ(mask("SigBlk"), 0u);
    EXPECT_EQ(mask("SigIgn") & (1ull << (SIGPIPE - 1)), 0u);

    auto ended = tool.waitUntilExit(300ms);
    EXPECT_TRUE(ended && !*ended) << "the tool is still waiting";
    // The launcher, done once the application runs, is waited for.
    auto pid = std::to_string(tool.processIdentifier());
    EXPECT_TRUE(eventually([&] { return readFile("/proc/" + pid + "/task/" + pid + "/children").empty(); }));
    ASSERT_TRUE(platform::writeFileAtomically(directory + "/status", "0"));
    auto ending = finish(tool, 5s);
    EXPECT_EQ(ending.terminationStatus, 0) << ending.standardError;
    EXPECT_EQ(ending.standardOutput, announced);
    EXPECT_EQ(ending.standardError, "");
    EXPECT_FALSE(fs::exists(directory));
}

// Only 0 is success: a number that is 0 modulo 256 but not 0 ends in 255.
// Hand-offs waiting side by side each end with their own verdict; a shared
// T like /tmp, root's and sticky, serves as well as a private one. A file
// may be called "help": only the top level has that subcommand.
TEST_F(MergeHandOff, EachHandOffEndsWithItsOwnVerdictAsItsStatus) {
    std::string shared = "/tmp";
    if (::geteuid() == 0) ::chmod((shared = tmp.makeDirectory("shared")).c_str(), 01777);
    struct {
        std::string text;
        int status;
        std::string file;
        std::string temporary;
    } cases[] = {{"-3", 253, "a", temporary},  {"7", 7, "b", temporary},       {"-1", 255, "c", temporary},
                 {"+300", 44, "d", temporary}, {"256", 255, "e", temporary},   {"-256", 255, "f", temporary},
                 {"0", 0, "help", shared},     {"-2", 254, "git's", temporary}};
    std::vector<platform::Process> tools;
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"merge", c.file};
        if (c.file == "git's")
            arguments = {"_mergetool", "--base", "x", "--local", "y", "--remote", "z", "--merged", c.file};
        tools.push_back(start(varnProgram, arguments, root,
                              environment({{"TMPDIR", c.temporary}, {"VARNEL_VERBOSE", "1"}})));
    }
    std::map<std::string, std::string> byFile;
    for (const auto& directory : handedOver(std::size(cases)))
        byFile[recordOf(directory).at("fileToMerge")] = directory;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].text);
        auto directory = byFile.at(root + "/" + cases[i].file);
        ASSERT_TRUE(platform::writeFileAtomically(directory + "/status", cases[i].text));
        auto ending = finish(tools[i], 5s);
        EXPECT_EQ(ending.terminationStatus, cases[i].status);
        // git's merges are not announced, however verbose.
        EXPECT_EQ(ending.standardOutput, (i + 1 < std::size(cases) ? "Running Merge Command\u2026\n" : "") + announced);
        EXPECT_FALSE(fs::exists(directory));
    }
}

// A wait that cannot end in a verdict ends at once: a hand-off directory
// removed is an error; an interrupted wait removes its hand-off
// directory and ends as a shell reports a signal. Nothing is left in T.
TEST_F(MergeHandOff, AWaitThatNoVerdictCanEndEndsAtOnce) {
    ::signal(SIGHUP, SIG_DFL);  // as from a terminal, where it is not ignored
    struct {
        int signal;  // none: the hand-off directory is removed
        int status;
    } cases[] = {{0, 1}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        auto tool = start(varnProgram, {"merge", "a.c"}, root, environment());
        auto directory = nextHandOff();
        ASSERT_TRUE(c.signal ? bool(tool.sendSignal(c.signal)) : fs::remove_all(directory) > 0);
        auto ending = finish(tool, 1s);
        EXPECT_EQ(ending.terminationStatus, c.status);
        EXPECT_EQ(ending.standardError, c.status != 1 ? ""
                                                      : "Error: The hand-off directory " + directory +
                                                            " was removed or replaced before the application "
                                                            "answered\n");
        EXPECT_TRUE(fs::is_empty(temporary));
    }
}

// A request that cannot be written leaves nothing a reader could take for
// one, whole or in part.
TEST_F(MergeHandOff, NothingIsHandedOverWhenTheRequestCannotBeWritten) {
    auto outside = tmp.makeDirectory("outside");
    auto owned = tmp.makeDirectory("T-owned");
    // Others may write in these, and they are not sticky.
    auto everyone = tmp.makeDirectory("T-0777"), group = tmp.makeDirectory("T-0770");
    ::chmod(everyone.c_str(), 0777);
    ::chmod(group.c_str(), 0770);
    // A private T in such a directory: another user could move it away and
    // put a forged request in its place.
    auto inside = tmp.makeDirectory("T-0777/T", 0700);
    bool ownedByAnother = ::geteuid() == 0 && ::chown(owned.c_str(), 65534, 65534) == 0;
    enum Mount { none, full, readOnly };
    const std::string refusing = "Error: Refusing to use the temporary directory ";
    struct {
        std::string file;
        std::string temporary;
        Mount mount;
        std::string expectedError;  // the hand-off's UUID written "UUID"
    } cases[] = {
        {outside + "/x.c", temporary, none, "Error: Invalid path: " + outside + "/x.c\n"},
        {"\xff.c", temporary, none, "Error: Cannot encode the record: a text is not valid UTF-8\n"},
        {"a.c", owned, none, refusing + owned + "/: it is owned by another user (uid 65534)\n"},
        {"a.c", everyone, none, refusing + everyone + "/: other users can write in it (mode 0777)\n"},
        {"a.c", group, none, refusing + group + "/: other users can write in it (mode 0770)\n"},
        {"a.c", inside, none,
         refusing + inside + "/: other users can write in the directory " + everyone + " above it (mode 0777)\n"},
        {"a.c", temporary, full,
         "Error: Cannot write file " + temporary + "//UUID/.varnel-mergetool: No space left on device\n"},
        {"a.c", temporary, readOnly, "Error: Cannot create directory " + temporary + "//UUID: Read-only file system\n"},
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
        auto ran = varn({"merge", c.file}, root, {{"TMPDIR", c.temporary}});
        EXPECT_EQ(ran.terminationStatus, 1);
        EXPECT_EQ(ran.standardOutput, "");
        EXPECT_EQ(std::regex_replace(ran.standardError, std::regex(uuid), "UUID"), c.expectedError);
        std::vector<fs::path> left(fs::recursive_directory_iterator(c.temporary), {});
        std::erase_if(left, [](const fs::path& p) { return fs::is_directory(p); });
        EXPECT_EQ(left, c.mount == full ? std::vector<fs::path>{temporary + "/filler"} : std::vector<fs::path>{});
    }
    EXPECT_TRUE(handedOver(0).empty());
    if (!skipped.empty()) GTEST_SKIP() << skipped;
}

// Whatever stands at the status file's name, the tool reads no more than a
// number's worth, never blocks on it and keeps waiting for a real verdict.
TEST_F(MergeHandOff, AStatusThatIsNoPlainNumberInAPlainFileIsIgnored) {
    auto five = tmp.writeFile("five", "5");
    auto huge = tmp / "huge";
    fs::resize_file(tmp.writeFile("huge", ""), std::uintmax_t{1} << 30);  // sparse: no disk taken
    struct {
        std::string name;
        std::function<void(const std::string&)> make;
    } cases[] = {
        {"a directory", [](const std::string& status) { fs::create_directory(status); }},
        {"a named pipe", [](const std::string& status) { ASSERT_EQ(::mkfifo(status.c_str(), 0600), 0); }},
        {"a link to an endless device", [](const std::string& status) { fs::create_symlink("/dev/zero", status); }},
        {"a huge file", [&](const std::string& status) { fs::rename(huge, status); }},
        {"text that is not UTF-8", [](const std::string& status) { std::ofstream(status) << "\xff\xfe\x31"; }},
        {"a dangling link", [](const std::string& status) { fs::create_symlink("nowhere", status); }},
        {"a link to a number", [&](const std::string& status) { fs::create_symlink(five, status); }},
    };
    auto tool = start(varnProgram, {"merge", "a.c"}, root, environment());
    auto directory = nextHandOff();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(directory + "/status");
        // A second entry, so the tool looks again whatever the first was.
        ASSERT_TRUE(platform::writeFileAtomically(directory + "/nudge", ""));
        // A tool that ends on it late fails a later look, or the verdict.
        auto ended = tool.waitUntilExit(100ms);
        ASSERT_TRUE(ended && !*ended) << "the tool ended on it";
        fs::remove(directory + "/status");
    }
    auto kernel = readFile("/proc/" + std::to_string(tool.processIdentifier()) + "/status");
    EXPECT_LT(std::stol(kernel.substr(kernel.find("VmHWM:") + 6)), 200 * 1024) << "KiB taken by the tool at most";
    // A tool that blocked on one of them never sees the verdict.
    ASSERT_TRUE(platform::writeFileAtomically(directory + "/status", "7"));
    EXPECT_EQ(finish(tool, 5s).terminationStatus, 7);
    EXPECT_FALSE(fs::exists(directory));
}
