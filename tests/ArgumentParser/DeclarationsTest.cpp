#include <gtest/gtest.h>

#include "ArgumentParser/CommandTree.hpp"
#include "ArgumentParser/Declarations.hpp"
#include "ArgumentParser/SnakeCase.hpp"
#include "VarnTree.hpp"

using namespace ap;

namespace {

std::vector<std::string> synopses(const ArgumentDefinition& d) {
    std::vector<std::string> s;
    for (const auto& n : d.names) s.push_back(n.synopsis());
    return s;
}

struct Flags : ParsableCommand {
    static constexpr std::string_view typeName = "Flags";
    static CommandConfiguration configuration() { return {}; }
    static void arguments(Arguments<Flags>& a) {
        a.flag("verbose", &Flags::verbose, {.inversion = FlagInversion::prefixedNo});
        a.flag("color", &Flags::color,
               {.name = NameSpecification::shortAndLong(), .inversion = FlagInversion::prefixedEnableDisable});
        a.flag("dryRun", &Flags::dryRun,
               {.name = {NameSpecification::customLong("dry_run")}, .inversion = FlagInversion::prefixedNo});
        a.flag("camel", &Flags::camel,
               {.name = {NameSpecification::customLong("camelCase")}, .inversion = FlagInversion::prefixedNo});
        a.option("_revspecA", &Flags::revspecA);
    }
    bool verbose = false, color = false, dryRun = false, camel = false;
    std::optional<std::string> revspecA;
};

struct Unnamed : ParsableCommand {
    static constexpr std::string_view typeName = "DefaultCommand";
    static CommandConfiguration configuration() { return {}; }
};

struct Loop : ParsableCommand {
    static constexpr std::string_view typeName = "Loop";
    static CommandConfiguration configuration() { return {.subcommands = {typeOf<Loop>}}; }
};

struct EmptyShort : ParsableCommand {
    static constexpr std::string_view typeName = "EmptyShort";
    static CommandConfiguration configuration() { return {}; }
    static void arguments(Arguments<EmptyShort>& a) {
        a.option("_", &EmptyShort::value, {.name = NameSpecification::short_()});
    }
    std::optional<std::string> value;
};

}  // namespace

TEST(SnakeCase, ConvertsPropertyAndTypeNames) {
    EXPECT_EQ(convertedToSnakeCase("revspecA", "-"), "revspec-a");
    EXPECT_EQ(convertedToSnakeCase("fileToMerge", "-"), "file-to-merge");
    EXPECT_EQ(convertedToSnakeCase("URLPath", "-"), "url-path");
    EXPECT_EQ(convertedToSnakeCase("MergeTool", "-"), "merge-tool");
    EXPECT_EQ(convertedToSnakeCase("already-dashed", "-"), "already-dashed");
    EXPECT_EQ(convertedToSnakeCase("", "-"), "");
    EXPECT_EQ(convertedToSnakeCase("ÄrgerÖl", "-"), "ärger-öl");
    EXPECT_EQ(typeOf<Unnamed>().commandName(), "default-command");
}

TEST(Declarations, FlagInversionSpellings) {
    const auto& d = typeOf<Flags>().definitions();
    ASSERT_EQ(d.size(), 9u);
    EXPECT_EQ(synopses(d[0]), (std::vector<std::string>{"--verbose"}));
    EXPECT_EQ(synopses(d[1]), (std::vector<std::string>{"--no-verbose"}));
    EXPECT_EQ(synopses(d[2]), (std::vector<std::string>{"-c", "--enable-color"}));
    EXPECT_EQ(synopses(d[3]), (std::vector<std::string>{"--disable-color"}));
    EXPECT_EQ(synopses(d[4]), (std::vector<std::string>{"--dry_run"}));
    EXPECT_EQ(synopses(d[5]), (std::vector<std::string>{"--no_dry_run"}));
    EXPECT_EQ(synopses(d[7]), (std::vector<std::string>{"--noCamelCase"}));
    EXPECT_TRUE(d[0].help.isComposite && d[1].help.isComposite);
    EXPECT_EQ(d[0].help.keys, d[1].help.keys);
}

TEST(Declarations, LeadingUnderscoreIsDroppedFromTheKey) {
    const auto& d = typeOf<Flags>().definitions().back();
    EXPECT_EQ(d.help.keys.front().name, "revspecA");
    EXPECT_EQ(synopses(d), (std::vector<std::string>{"--revspec-a"}));
}

TEST(CommandTree, HelpCommandIsTheLastChildOnlyWhenThereAreSubcommands) {
    CommandTree tree(varntree::root());
    const auto& children = tree.root().children;
    ASSERT_EQ(children.size(), 5u);
    EXPECT_EQ(children.back()->element->commandName(), "help");
    // Otherwise `varn merge help` could not name a file called help.
    CommandTree leaf(typeOf<varntree::Merge>());
    EXPECT_TRUE(leaf.root().children.empty());
}

TEST(DeclarationFaultsDeathTest, ACommandListingItselfStopsTheProgram) {
    EXPECT_DEATH(CommandTree{typeOf<Loop>()}, "The ParsableCommand \"Loop\" can't have itself as its own subcommand.");
}

TEST(DeclarationFaultsDeathTest, AShortNameNeedsACharacter) {
    EXPECT_DEATH(typeOf<EmptyShort>().definitions(), "Key '' has not characters to form short option name.");
}
