// The generated scripts run in the real shells. The tool itself is not
// needed: a stand-in script answers the custom-completion call by echoing
// what it was handed, and the varn scripts complete revisions with git.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "ArgumentParser/CompletionsGenerator.hpp"
#include "CompletionTrees.hpp"
#include "VarnTree.hpp"

using namespace ap;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::UnorderedElementsAreArray;

namespace fs = std::filesystem;

namespace {

struct Run {
    int status = -1;
    std::string output;
};

/// Runs `command` with /bin/sh, standard error joined to standard output.
Run run(const std::string& command) {
    std::fflush(stdout);
    Run result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (auto n = std::fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string shellQuoted(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

void write(const fs::path& path, const std::string& text, bool executable = false) {
    std::ofstream(path) << text;
    if (executable) fs::permissions(path, fs::perms::owner_all);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

/// A scratch directory with the three scripts of a tree, a stand-in tool
/// and a small git repository with branches and a tag.
class ShellsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "completion-shells-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        dir = pattern;
        fs::create_directories(dir / "bin");
        write(dir / "bin" / "kit-tool",
              "#!/bin/sh\necho alpha\necho beta\nfor a in \"$@\"; do echo \"arg:$a\"; done\n", true);
        for (const auto& [name, root] : {std::pair{"kit-tool", &typeOf<completiontrees::KitTool>()},
                                         std::pair{"varn", &varntree::root()}}) {
            write(dir / (std::string(name) + ".bash"), generateCompletionScript(CompletionShell::bash, *root));
            fs::create_directories(dir / "zsh");
            write(dir / "zsh" / ("_" + std::string(name)), generateCompletionScript(CompletionShell::zsh, *root));
            write(dir / (std::string(name) + ".fish"), generateCompletionScript(CompletionShell::fish, *root));
        }
        repo = dir / "repo";
        fs::create_directories(repo / "src" / "deep");
        write(repo / "notes.txt", "x");
        auto git = run("cd " + shellQuoted(repo) +
                       " && git init -q -b main && git -c user.email=t@e -c user.name=t commit -q --allow-empty -m one"
                       " && git branch feature && git tag v1.0");
        ASSERT_EQ(git.status, 0) << git.output;
    }
    void TearDown() override { fs::remove_all(dir); }

    /// COMPREPLY after calling `function` for the words, the last one being
    /// completed, in `where`.
    std::vector<std::string> bash(const std::string& tree, const std::string& function, std::vector<std::string> words,
                                  const fs::path& where, bool withBashCompletion = false) {
        std::string array;
        for (const auto& w : words) array += " " + shellQuoted(w);
        std::string script = (withBashCompletion ? "source /usr/share/bash-completion/bash_completion; " : "") +
                             std::string("source ") + shellQuoted(dir / (tree + ".bash")) + "; cd " + shellQuoted(where) +
                             "; COMP_WORDS=(" + array + "); COMP_CWORD=" + std::to_string(words.size() - 1) + "; " +
                             function + "; printf '%s\\n' \"${COMPREPLY[@]}\"";
        auto r = run("bash --norc --noprofile -c " + shellQuoted(script));
        EXPECT_EQ(r.status, 0) << r.output;
        auto result = lines(r.output);
        if (result.size() == 1 && result.front().empty()) result.clear();
        return result;
    }

    std::vector<std::string> fish(const std::string& tree, const std::string& line, const fs::path& where) {
        std::string script = "source " + shellQuoted(dir / (tree + ".fish")) + "; cd " + shellQuoted(where) +
                             "; complete -C " + shellQuoted(line);
        auto r = run("PATH=" + shellQuoted((dir / "bin").string() + ":" + std::getenv("PATH")) + " fish --no-config -c " +
                     shellQuoted(script));
        EXPECT_EQ(r.status, 0) << r.output;
        return lines(r.output);
    }

    /// What interactive zsh shows after typing `line` and a tab, with the
    /// completion system loaded from a scratch ZDOTDIR; reading stops once
    /// `expected` appears or after ten seconds.
    std::string zsh(const std::string& line, const std::string& expected) {
        fs::create_directories(dir / "zdot");
        write(dir / "zdot" / ".zshrc", "fpath=(" + shellQuoted(dir / "zsh") + " $fpath)\nautoload -Uz compinit\ncompinit -u -d " +
                                           shellQuoted(dir / "zdot" / "compdump") + "\nPS1='> '\nLISTMAX=1000\n");
        write(dir / "drive.zsh",
              "zmodload zsh/zpty\n"
              "zpty z 'TERM=xterm ZDOTDIR=" + (dir / "zdot").string() + " zsh -i'\n"
              "zpty -w z 'cd " + repo.string() + "'\n"
              "zpty -w -n z " + shellQuoted(line + "\t") + "\n"
              "out=''\n"
              "for i in {1..100}; do\n"
              "  while zpty -r -t z chunk; do out+=$chunk; done\n"
              "  [[ $out == *" + shellQuoted(expected) + "* ]] && break\n"
              "  sleep 0.1\n"
              "done\n"
              "print -r -- $out\n"
              "zpty -d z\n");
        return run("zsh -f " + shellQuoted(dir / "drive.zsh")).output;
    }

    fs::path dir;
    fs::path repo;
};

}  // namespace

TEST_F(ShellsTest, ShellsAcceptTheScripts) {
    for (const auto& tree : {"kit-tool", "varn"}) {
        SCOPED_TRACE(tree);
        auto zsh = run("zsh -n " + shellQuoted(dir / "zsh" / ("_" + std::string(tree))));
        EXPECT_EQ(zsh.status, 0) << zsh.output;
        auto fish = run("fish --no-execute " + shellQuoted(dir / (std::string(tree) + ".fish")));
        EXPECT_EQ(fish.status, 0) << fish.output;
        auto bash = run("bash -n " + shellQuoted(dir / (std::string(tree) + ".bash")));
        EXPECT_EQ(bash.status, 0) << bash.output;
    }
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
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "--branch", ""}, repo), UnorderedElementsAreArray({"main", "dev"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "-name", ""}, repo),
                IsSupersetOf({"alpha", "beta", "arg:---completion", "arg:--", "arg:-name", "arg:"}));
    EXPECT_THAT(bash("kit-tool", "_kit_tool", {tool, "--out-dir", ""}, repo), UnorderedElementsAreArray({"src", ".git"}));
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

TEST_F(ShellsTest, BashCompletesVarn) {
    EXPECT_THAT(bash("varn", "_varn", {"varn", ""}, repo),
                UnorderedElementsAreArray({"--help", "-h", "open", "merge", "diff", "help"}));
    auto diff = bash("varn", "_varn", {"varn", "diff", ""}, repo);
    EXPECT_THAT(diff, IsSupersetOf({"feature", "main", "v1.0", "-r", "--repo", "--help", "-h"}));
    EXPECT_THAT(diff, AllOf(Not(Contains("open")), Not(Contains("_mergetool"))));
    EXPECT_THAT(bash("varn", "_varn", {"varn", "diff", "-r", ""}, repo), UnorderedElementsAreArray({"src", ".git"}));
    EXPECT_THAT(bash("varn", "_varn", {"varn", "diff", "--repo", "s"}, repo, true), Contains(HasSubstr("src")));
    EXPECT_THAT(bash("varn", "_varn", {"varn", "merge", ""}, repo), UnorderedElementsAreArray({"--help", "-h"}));
    EXPECT_THAT(bash("varn", "_varn", {"varn", "_"}, repo), ::testing::IsEmpty());
}

TEST_F(ShellsTest, FishCompletesVarnAndAsksTheToolForCustomCandidates) {
    EXPECT_THAT(fish("varn", "varn ", repo),
                UnorderedElementsAreArray({"diff\tCompare files between 2 revisions.",
                                           "help\tShow subcommand help information.",
                                           "merge\tOpen conflicted file in Varnel's merge tool.",
                                           "open\tOpen a repository in Varnel"}));
    EXPECT_THAT(fish("varn", "varn diff --", repo),
                UnorderedElementsAreArray({"--help\tShow help information.", "--repo\tThe path to the repository."}));
    EXPECT_THAT(fish("varn", "varn diff -r ", repo), Contains(HasSubstr("src/")));

    EXPECT_THAT(fish("kit-tool", "kit-tool --mode ", repo), UnorderedElementsAreArray({"fast\tMode.", "slow\tMode."}));
    EXPECT_THAT(fish("kit-tool", "kit-tool fetch-all --depth ", repo),
                IsSupersetOf({"alpha\tDepth.", "arg:---completion\tDepth.", "arg:fetch-all\tDepth.",
                              "arg:--\tDepth.", "arg:--depth\tDepth.", "arg:kit-tool\tDepth."}));
    EXPECT_THAT(fish("kit-tool", "kit-tool fetch-all ", repo),
                Contains(HasSubstr("deep\tDeep.")));
}

TEST_F(ShellsTest, ZshCompletesVarnSubcommandsAndRevisions) {
    auto top = zsh("varn ", "Compare files");
    EXPECT_THAT(top, AllOf(HasSubstr("Compare files between 2 revisions."), HasSubstr("open"), HasSubstr("merge"),
                           Not(HasSubstr("_mergetool"))));
    auto revisions = zsh("varn diff ", "v1.0");
    EXPECT_THAT(revisions, AllOf(HasSubstr("feature"), HasSubstr("v1.0")));
}
