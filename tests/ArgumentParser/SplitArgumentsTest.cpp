#include <gtest/gtest.h>

#include "ArgumentParser/SplitArguments.hpp"

using namespace ap;

namespace {

using Kind = SplitArguments::Element::Kind;

SplitArguments split(std::vector<std::string> arguments) {
    auto result = SplitArguments::split(std::move(arguments));
    EXPECT_TRUE(result);
    return std::move(result).value();
}

// One line per element: kind, name or value, position.
std::vector<std::string> describe(const SplitArguments& s) {
    std::vector<std::string> lines;
    for (const auto& e : s.elements()) {
        std::string line = e.isTerminator() ? "--" : e.isValue() ? "value " + *e.value : "option " + e.name->synopsis();
        if (e.isOption() && e.value) line += " = " + *e.value;
        line += " @" + std::to_string(e.index.inputIndex);
        if (e.index.subIndex) line += "." + std::to_string(*e.index.subIndex);
        lines.push_back(line);
    }
    return lines;
}

std::string invalidOption(std::vector<std::string> arguments) {
    auto result = SplitArguments::split(std::move(arguments));
    if (result) return "(split)";
    auto e = result.error().as<ParserError::InvalidOption>();
    return e ? e->text : "(other error)";
}

}  // namespace

TEST(SplitArguments, ElementsOfEachKindOfText) {
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> elements;
    } cases[] = {
        {{"", "-", "plain", "--long", "-s"},
         {"value  @0", "value - @1", "value plain @2", "option --long @3", "option -s @4"}},
        // Everything after the terminator is a value.
        {{"a", "--", "--help", "-x", "--", "---"},
         {"value a @0", "-- @1", "value --help @2", "value -x @3", "value -- @4", "value --- @5"}},
        // A group of shorts is one long name with one dash, then each letter.
        {{"-abc"}, {"option -abc @0", "option -a @0.0", "option -b @0.1", "option -c @0.2"}},
        {{"-é", "-éa"}, {"option -é @0", "option -éa @1", "option -é @1.0", "option -a @1.1"}},
        {{"-abc=1", "-a=1", "-t=", "--name=a=b", "--name="},
         {"option -abc = 1 @0", "option -a = 1 @1", "option -t =  @2", "option --name = a=b @3", "option --name @4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        EXPECT_EQ(describe(split(c.arguments)), c.elements);
    }
    EXPECT_EQ(split({"-abc=1"}).elements()[0].name->kind(), Name::Kind::longWithSingleDash);
}

TEST(SplitArguments, ThreeDashesAreInvalid) {
    EXPECT_EQ(invalidOption({"---x"}), "---x");
    EXPECT_EQ(invalidOption({"---"}), "---");
    EXPECT_EQ(invalidOption({"ok", "----"}), "----");
    EXPECT_EQ(invalidOption({"-=x"}), "-=x");
}

TEST(SplitArguments, ValuesTakenAfterAPositionInOrder) {
    // With -fn a b, f takes a and n takes b.
    auto s = split({"-fn", "a", "b"});
    auto f = s.popNextElementIfValue(SplitIndex{0, 0});
    auto n = s.popNextElementIfValue(SplitIndex{0, 1});
    ASSERT_TRUE(f && n);
    EXPECT_EQ(f->value, "a");
    EXPECT_EQ(n->value, "b");
}

TEST(SplitArguments, JoinedValueOnlyForTheFirstLetterOfAGroup) {
    auto s = split({"-Dname=x"});
    EXPECT_FALSE(s.extractJoinedElement(SplitIndex{0, 1}));
    auto s2 = split({"-Dvalue"});
    auto joined = s2.extractJoinedElement(SplitIndex{0, 0});
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->value, "value");
    EXPECT_TRUE(s2.empty());
}

TEST(SplitArguments, RemovingALetterRemovesTheGroupAsAWholeButNotTheOtherLetters) {
    auto s = split({"-vh", "x"});
    s.removeAll(InputOrigin::at(SplitIndex{0, 0}));
    EXPECT_FALSE(s.contains(Name::longWithSingleDash("vh")));
    EXPECT_FALSE(s.contains(Name::short_("v")));
    EXPECT_TRUE(s.contains(Name::short_("h")));
    auto extras = s.coalescedExtraElements();
    ASSERT_EQ(extras.size(), 2u);
    EXPECT_EQ(extras[0].second, "-h");
    EXPECT_EQ(extras[1].second, "x");
}

TEST(SplitArguments, CoalescedExtrasShowAnUnusedGroupOnce) {
    auto s = split({"-ab", "--", "tail"});
    auto extras = s.coalescedExtraElements();
    ASSERT_EQ(extras.size(), 2u);
    EXPECT_EQ(extras[0].second, "-ab");
    EXPECT_EQ(extras[1].second, "tail");
    EXPECT_TRUE(s.containsNonTerminatorArguments());
    s.removeAll(InputOrigin::at(SplitIndex{0, std::nullopt}));
    s.removeAll(InputOrigin::at(SplitIndex{2, std::nullopt}));
    EXPECT_FALSE(s.containsNonTerminatorArguments());
    EXPECT_FALSE(s.empty());
}
