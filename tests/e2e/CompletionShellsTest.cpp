// The completion scripts that the built varn prints, in real bash, zsh and
// fish, with varn on PATH, inside a small repository with branches and a tag.

#include <gmock/gmock.h>

#include "tests/support/EndToEnd.hpp"
#include "tests/support/ShellDriver.hpp"

using namespace testsupport;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::Not;
using ::testing::UnorderedElementsAreArray;

namespace {

class CompletionShells : public EndToEnd {
protected:
    void SetUp() override {
        for (auto [shell, file] : {std::pair{"bash", "varn.bash"}, {"zsh", "zsh/_varn"}, {"fish", "varn.fish"}})
            tmp.writeFile(file, varn({"--generate-completion-script", shell}, tmp.path()).standardOutput);
        tmp.makeLink("varn-only/varn", varnProgram);
        tmp.makeDirectory("repo/src/deep");
        tmp.writeFile("repo/notes.txt", "x");
        git({"init", "-q", "-b", "main"}, root);
        git({"commit", "-q", "--allow-empty", "-m", "one"}, root);
        git({"branch", "feature"}, root);
        git({"tag", "v1.0"}, root);
    }

    std::vector<std::string> bash(const std::vector<std::string>& words, bool withBashCompletion = false) {
        return shelldriver::bashCompletions(tmp / "varn.bash", "_varn", words, root, withBashCompletion, bin);
    }
    std::vector<std::string> fish(const std::string& line) {
        return shelldriver::fishCompletions(tmp / "varn.fish", line, root, bin);
    }
    std::string zsh(const std::string& line, const std::string& expected) {
        return shelldriver::zshListing(tmp / "zsh", tmp.path(), root, line, expected, bin);
    }

    std::string bin = tmp / "varn-only";
};

}  // namespace

TEST_F(CompletionShells, BashOffersEachLevelsWordsWithoutHiddenSubcommands) {
    const std::vector<std::string> topLevel = {"--help", "-h", "open", "merge", "diff", "help"};
    EXPECT_THAT(bash({"varn", ""}), UnorderedElementsAreArray(topLevel));
    EXPECT_THAT(bash({"varn", ""}, true), UnorderedElementsAreArray(topLevel));
    EXPECT_THAT(bash({"varn", "m"}), UnorderedElementsAreArray({"merge"}));
    EXPECT_THAT(bash({"varn", "_"}), IsEmpty());
    // A word that names no subcommand leaves the top level in force.
    EXPECT_THAT(bash({"varn", "--help", ""}), UnorderedElementsAreArray(topLevel));

    // Within each subcommand, its own words.
    auto diff = bash({"varn", "diff", ""});
    EXPECT_THAT(diff, IsSupersetOf({"main", "feature", "v1.0", "-r", "--repo", "--help", "-h"}));
    EXPECT_THAT(diff, AllOf(Not(Contains("open")), Not(Contains("merge")), Not(Contains("_difftool"))));
    // Both revision arguments list the same names, so a name may come twice.
    EXPECT_THAT(bash({"varn", "diff", "fe"}), AllOf(Not(IsEmpty()), Each("feature")));
    EXPECT_THAT(bash({"varn", "diff", "main", "v"}), AllOf(Not(IsEmpty()), Each("v1.0")));

    EXPECT_THAT(bash({"varn", "diff", "-r", ""}), UnorderedElementsAreArray({"src", ".git"}));
    EXPECT_THAT(bash({"varn", "diff", "--repo", "s"}), UnorderedElementsAreArray({"src"}));
    EXPECT_THAT(bash({"varn", "diff", "-r", "s"}, true), Contains(HasSubstr("src")));

    // merge's file argument adds no words in bash: only its own options.
    EXPECT_THAT(bash({"varn", "merge", ""}), UnorderedElementsAreArray({"--help", "-h"}));
    EXPECT_THAT(bash({"varn", "open", "--"}), UnorderedElementsAreArray({"--help"}));
}

TEST_F(CompletionShells, ZshAndFishOfferSubcommandsWithDescriptionsAndRevisions) {
    auto top = zsh("varn ", "Compare files");
    EXPECT_THAT(top, AllOf(HasSubstr("open"), HasSubstr("Open a repository in Varnel"), HasSubstr("merge"),
                           HasSubstr("Compare files between 2 revisions."), HasSubstr("Show subcommand help"),
                           Not(HasSubstr("_mergetool")), Not(HasSubstr("_difftool"))));
    EXPECT_THAT(zsh("varn diff ", "v1.0"), AllOf(HasSubstr("feature"), HasSubstr("v1.0")));

    // fish lists subcommands and options with their descriptions.
    EXPECT_THAT(fish("varn "), UnorderedElementsAreArray({"diff\tCompare files between 2 revisions.",
                                                          "help\tShow subcommand help information.",
                                                          "merge\tOpen conflicted file in Varnel's merge tool.",
                                                          "open\tOpen a repository in Varnel"}));
    EXPECT_THAT(fish("varn diff --"),
                UnorderedElementsAreArray({"--help\tShow help information.", "--repo\tThe path to the repository."}));
    EXPECT_THAT(fish("varn diff -r "), Contains(HasSubstr("src/")));
}
