// The completion scripts of the kit tree in real bash, zsh and fish. The
// tree's tool is this test program (see Main.cpp), so what the scripts get
// back when they call the tool for custom candidates is the framework's own
// answer.
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ArgumentParser/CompletionsGenerator.hpp"
#include "Trees.hpp"
#include "tests/support/ShellDriver.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace {

using namespace shelldriver;
using namespace ::testing;

class Shells : public ::testing::Test {
protected:
    void SetUp() override {
        auto self = std::filesystem::read_symlink("/proc/self/exe").string();
        tmp.writeFile("bin/kit", "#!/bin/sh\nAP_TEST_TREE=kit exec " + shellQuoted(self) + " \"$@\"\n", true);
        const auto& kit = ap::typeOf<trees::Kit>();
        tmp.writeFile("kit.bash", generateCompletionScript(ap::CompletionShell::bash, kit));
        tmp.writeFile("zsh/_kit", generateCompletionScript(ap::CompletionShell::zsh, kit));
        tmp.writeFile("kit.fish", generateCompletionScript(ap::CompletionShell::fish, kit));
        for (auto name : {"a.txt", "B.TXT", "c.md", "d.log", "e.c", "sub/f"})
            tmp.writeFile("files/" + std::string(name), "");
    }

    std::vector<std::string> bash(std::vector<std::string> words, bool withBashCompletion = false) {
        words.insert(words.begin(), "kit");
        return bashCompletions(tmp / "kit.bash", "_kit", words, files, withBashCompletion, bin);
    }
    std::vector<std::string> fish(const std::string& line) {
        return fishCompletions(tmp / "kit.fish", line, files, bin);
    }
    std::string zsh(const std::string& line, const std::string& expected) {
        return zshListing(tmp / "zsh", tmp.path(), files, line, expected, bin);
    }

    testsupport::TemporaryDirectory tmp;
    std::string bin = tmp / "bin", files = tmp / "files";
};

TEST_F(Shells, BashOffersEachKind) {
    // The first word: the displayed options and subcommands, help among them.
    auto first = bash({""});
    EXPECT_THAT(first,
                IsSupersetOf({"-m", "--mode", "--config", "--out-dir", "-name", "--verbose", "-h", "fetch", "help"}));
    for (auto hidden : {"--quiet", "_internal"}) EXPECT_THAT(first, Not(Contains(hidden)));
    EXPECT_THAT(bash({"--m"}), UnorderedElementsAre("--mode"));
    EXPECT_THAT(bash({"--mode", "s"}), UnorderedElementsAre("slow"));
    // A typed value that looks like an option is still matched against the
    // list alone: no file names, and no option for compgen.
    for (auto typed : {"-", "--", "-s"}) EXPECT_THAT(bash({"--mode", typed}), IsEmpty()) << typed;
    EXPECT_THAT(bash({"--branch", ""}), UnorderedElementsAre("main", "dev"));
    EXPECT_THAT(bash({"-name", ""}), UnorderedElementsAre("alpha", "beta", "got:kit", "got:-name", "got:"));
    EXPECT_THAT(bash({"--out-dir", ""}), UnorderedElementsAre("sub"));
    EXPECT_THAT(bash({"--input", ""}), UnorderedElementsAre("a.txt", "B.TXT", "c.md", "d.log", "e.c", "sub"));
    // Extensions match in either case; directories stay reachable, once
    // also where bash-completion's _filedir adds them per pattern.
    EXPECT_THAT(bash({"--config", ""}), UnorderedElementsAre("a.txt", "B.TXT", "c.md", "sub"));
    auto withFiledir = bash({"--config", ""}, true);
    EXPECT_EQ(std::set<std::string>(withFiledir.begin(), withFiledir.end()),
              (std::set<std::string>{"a.txt", "B.TXT", "c.md", "sub"}));
    // An option without a completion offers nothing; a flag takes no value.
    EXPECT_THAT(bash({"--plain", ""}), IsEmpty());
    EXPECT_THAT(bash({"--verbose", "--m"}), UnorderedElementsAre("--mode"));

    // A subcommand's positionals add their words; two levels down.
    auto fetch = bash({"fetch", ""});
    EXPECT_THAT(fetch, IsSupersetOf({"--depth", "-h", "deep", "red", "green", "v1", "v2", "alpha", "got:fetch"}));
    for (auto absent : {"help", "concealed"}) EXPECT_THAT(fetch, Not(Contains(absent)));
    EXPECT_THAT(bash({"fetch", "--depth", ""}), IsSupersetOf({"alpha", "got:fetch", "got:--depth"}));
    EXPECT_THAT(bash({"fetch", "deep", ""}), UnorderedElementsAre("--level", "--help", "-h", "leaf"));
    EXPECT_THAT(bash({"fetch", "deep", "leaf", ""}), IsEmpty());
    EXPECT_THAT(bash({"fetch", "deep", "--level", ""}), UnorderedElementsAre("one", "two"));
}

TEST_F(Shells, FishOffersEachKindWithItsDescription) {
    EXPECT_THAT(fish("kit --mode "), UnorderedElementsAre("fast\tMode.", "slow\tMode."));
    EXPECT_THAT(fish("kit --input "), IsSupersetOf({"a.txt", "d.log", "sub/"}));
    EXPECT_THAT(fish("kit --config "),
                UnorderedElementsAre("a.txt\tDon't [use] back\\slash\\", "c.md\tDon't [use] back\\slash\\"));
    EXPECT_THAT(fish("kit --out-dir "), UnorderedElementsAre(StartsWith("sub/")));
    EXPECT_THAT(fish("kit --branch "), UnorderedElementsAre("main", "dev"));
    EXPECT_THAT(fish("kit fetch --depth "),
                IsSupersetOf({"alpha\tDepth.", "got:kit\tDepth.", "got:fetch\tDepth.", "got:--depth\tDepth."}));
    auto first = fish("kit ");
    EXPECT_THAT(first, IsSupersetOf({"fetch\tFetch 'all'.", "help\tShow subcommand help information."}));
    EXPECT_THAT(first, Not(Contains(StartsWith("_internal"))));
    EXPECT_THAT(fish("kit -"), AllOf(Contains("--verbose"), Not(Contains(StartsWith("--quiet")))));
    // Options before a subcommand are no command words; a subcommand's
    // words replace the root's.
    EXPECT_THAT(fish("kit --verbose fetch "), AllOf(Contains("deep\tDeep."), Not(Contains(StartsWith("help\t")))));
}

// A subcommand's positionals take the words before its subcommands do, so
// zsh runs reach one level down.
TEST_F(Shells, ZshDescendsAndAsksTheTool) {
    EXPECT_THAT(zsh("kit fetch ", "beta"), AllOf(HasSubstr("alpha"), HasSubstr("-- fetch")));
    EXPECT_THAT(zsh("kit fetch x ", "green"), AllOf(HasSubstr("red"), HasSubstr("green")));
    // The words of a shell command reach _describe from inside the
    // single-quoted _arguments entry.
    EXPECT_THAT(zsh("kit --branch ", "dev"), AllOf(HasSubstr("main"), HasSubstr("dev")));
    EXPECT_THAT(zsh("kit --config ", "c.md"), AllOf(HasSubstr("a.txt"), Not(HasSubstr("d.log"))));
    auto options = zsh("kit --", "back\\slash");
    EXPECT_THAT(options, AllOf(HasSubstr("Don't [use] back\\slash\\"), Not(HasSubstr("quiet"))));
    // A declared text's lines are indented with their block, an empty one not.
    EXPECT_THAT(testsupport::readFile(tmp / "zsh/_kit"), HasSubstr("'deep:Deep.\n\n                Down.'"));
}

}  // namespace
