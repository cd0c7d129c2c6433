// The generated scripts run in the real shells. The tool itself is not
// needed: a stand-in script answers the custom-completion call by echoing
// what it was handed. The built varn's own scripts are tried in the shells
// by the end-to-end tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "ArgumentParser/CompletionsGenerator.hpp"
#include "CompletionTrees.hpp"
#include "tests/support/TemporaryDirectory.hpp"
#include "tests/support/ShellDriver.hpp"

using namespace ap;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::StartsWith;
using ::testing::UnorderedElementsAreArray;

namespace fs = std::filesystem;

namespace {

using namespace shelldriver;

/// A scratch directory with the three scripts of a tree, a stand-in tool
/// and a small git repository with branches and a tag.
class ShellsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "bin");
        write(dir / "bin" / "kit-tool",
              "#!/bin/sh\necho alpha\necho beta\nfor a in \"$@\"; do echo \"arg:$a\"; done\n", true);
        const auto& root = typeOf<completiontrees::KitTool>();
        write(dir / "kit-tool.bash", generateCompletionScript(CompletionShell::bash, root));
        fs::create_directories(dir / "zsh");
        write(dir / "zsh" / "_kit-tool", generateCompletionScript(CompletionShell::zsh, root));
        write(dir / "kit-tool.fish", generateCompletionScript(CompletionShell::fish, root));
        repo = dir / "repo";
        fs::create_directories(repo / "src" / "deep");
        write(repo / "notes.txt", "x");
        auto git = run("cd " + shellQuoted(repo) +
                       " && git init -q -b main && git -c user.email=t@e -c user.name=t commit -q --allow-empty -m one"
                       " && git branch feature && git tag v1.0");
        ASSERT_EQ(git.status, 0) << git.output;
    }

    std::vector<std::string> bash(const std::string& tree, const std::string& function,
                                  const std::vector<std::string>& words, const fs::path& where,
                                  bool withBashCompletion = false) {
        return shelldriver::bashCompletions(dir / (tree + ".bash"), function, words, where, withBashCompletion);
    }
    std::vector<std::string> fish(const std::string& tree, const std::string& line, const fs::path& where) {
        return shelldriver::fishCompletions(dir / (tree + ".fish"), line, where, dir / "bin");
    }
    std::string zsh(const std::string& line, const std::string& expected) {
        return shelldriver::zshListing(dir / "zsh", dir, repo, line, expected, dir / "bin");
    }

    testsupport::TemporaryDirectory tmp;
    fs::path dir = tmp.path();
    fs::path repo;
};

}  // namespace

TEST_F(ShellsTest, ShellsAcceptTheScripts) {
    auto zsh = run("zsh -n " + shellQuoted(dir / "zsh" / "_kit-tool"));
    EXPECT_EQ(zsh.status, 0) << zsh.output;
    auto fish = run("fish --no-execute " + shellQuoted(dir / "kit-tool.fish"));
    EXPECT_EQ(fish.status, 0) << fish.output;
    auto bash = run("bash -n " + shellQuoted(dir / "kit-tool.bash"));
    EXPECT_EQ(bash.status, 0) << bash.output;
}

TEST_F(ShellsTest, BashOffersEachKind) {
    auto tool = (dir / "bin" / "kit-tool").string();
    // The first word: options, subcommands, positional words and what the
    // tool answers to the call-back for the root's positional.
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, ""}, repo),
                IsSupersetOf({"-m", "--mode", "-name", "--verbose", "--help", "-h", "fetch-all", "help", "red", "green",
                              "v1", "v2", "alpha", "beta", "arg:---completion", "arg:--", "arg:target"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, ""}, repo), Contains("arg:" + tool));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "--m"}, repo), UnorderedElementsAreArray({"--mode"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "--mode", "s"}, repo), UnorderedElementsAreArray({"slow"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "--branch", ""}, repo),
                UnorderedElementsAreArray({"main", "dev"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "-name", ""}, repo),
                IsSupersetOf({"alpha", "beta", "arg:---completion", "arg:--", "arg:-name", "arg:"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "--out-dir", ""}, repo),
                UnorderedElementsAreArray({"src", ".git"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "--input", ""}, repo),
                UnorderedElementsAreArray({"notes.txt", "src", ".git"}));

    // Extension filters match either case; directories stay reachable.
    fs::path files = dir / "files";
    fs::create_directories(files / "sub");
    for (auto name : {"a.txt", "B.TXT", "c.md", "d.log"}) write(files / name, "");
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "--config", ""}, files),
                UnorderedElementsAreArray({"a.txt", "B.TXT", "c.md", "sub"}));
    // bash-completion's _filedir adds the directories once per pattern.
    auto withFiledir = bash("kit-tool", "_kit_tool", {tool, "--config", ""}, files, true);
    EXPECT_EQ(std::set<std::string>(withFiledir.begin(), withFiledir.end()),
              (std::set<std::string>{"a.txt", "B.TXT", "c.md", "sub"}));

    // Subcommands, two levels down.
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "fetch-all", ""}, repo),
                IsSupersetOf({"--depth", "--help", "-h", "deep", "arg:fetch-all", "arg:remote"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "fetch-all", "--depth", ""}, repo),
                IsSupersetOf({"alpha", "arg:--depth", "arg:fetch-all"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "fetch-all", "deep", ""}, repo),
                UnorderedElementsAreArray({"--level", "--help", "-h"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "fetch-all", "deep", "--level", ""}, repo),
                UnorderedElementsAreArray({"one", "two"}));
}

TEST_F(ShellsTest, FishOffersEachKindAndAsksTheToolForCustomCandidates) {
    EXPECT_THAT(fish("kit-tool", "kit-tool --mode ", repo), UnorderedElementsAreArray({"fast\tMode.", "slow\tMode."}));
    // A file without extensions is any file.
    EXPECT_THAT(fish("kit-tool", "kit-tool --input ", repo), IsSupersetOf({"notes.txt", "src/"}));
    EXPECT_THAT(fish("kit-tool", "kit-tool --config ", repo),
                UnorderedElementsAreArray({"notes.txt\tDon't [use] back\\slash."}));
    EXPECT_THAT(fish("kit-tool", "kit-tool fetch-all --depth ", repo),
                IsSupersetOf({"alpha\tDepth.", "arg:---completion\tDepth.", "arg:fetch-all\tDepth.",
                              "arg:--\tDepth.", "arg:--depth\tDepth.", "arg:kit-tool\tDepth."}));
    // Options typed before a subcommand do not count as command words.
    // The root's own words stop once a subcommand is typed.
    EXPECT_THAT(fish("kit-tool", "kit-tool --verbose fetch-all ", repo),
                AllOf(Contains("deep\tDeep."), Not(Contains(StartsWith("help\t")))));
}

TEST_F(ShellsTest, ZshAsksTheToolAndRunsShellCommands) {
    // The root's positional is answered by the tool through the call-back.
    EXPECT_THAT(zsh("kit-tool ", "beta"), AllOf(HasSubstr("alpha"), HasSubstr("beta")));
    // The words of a shell command reach _describe from inside the
    // single-quoted _arguments entry.
    EXPECT_THAT(zsh("kit-tool --branch ", "dev"), AllOf(HasSubstr("main"), HasSubstr("dev")));
}
