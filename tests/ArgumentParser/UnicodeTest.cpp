// Characters and case mapping: plain ASCII takes a short way round the
// Unicode tables, so each case here is checked to agree with the general
// path on text that mixes both.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "ArgumentParser/Unicode.hpp"

namespace {

using ap::unicode::characters;
using Views = std::vector<std::string_view>;

TEST(Unicode, CharactersOfAsciiAndOfClusters) {
    EXPECT_EQ(characters("ab-c"), (Views{"a", "b", "-", "c"}));
    EXPECT_EQ(characters(""), Views{});
    // CR LF is one character, the only cluster made of ASCII.
    EXPECT_EQ(characters("a\r\nb\r"), (Views{"a", "\r\n", "b", "\r"}));
    // e with a combining acute accent, and a flag of two regional indicators.
    EXPECT_EQ(characters("e\xcc\x81x\xf0\x9f\x87\xab\xf0\x9f\x87\xb7"),
              (Views{"e\xcc\x81", "x", "\xf0\x9f\x87\xab\xf0\x9f\x87\xb7"}));
    // An accent after a line break stands alone, also when characters
    // found without the tables (ASCII, the ellipsis) come before it.
    EXPECT_EQ(characters("e\xcc\x81" "a\n\xcc\x81\xe2\x80\xa6" "b"),
              (Views{"e\xcc\x81", "a", "\n", "\xcc\x81", "\xe2\x80\xa6", "b"}));
    // A byte that is not UTF-8 is a character of its own.
    EXPECT_EQ(characters("a\xff" "b"), (Views{"a", "\xff", "b"}));
}

TEST(Unicode, CountPrefixAndDropFirstCountCharacters) {
    using namespace ap::unicode;
    EXPECT_EQ(count("commit-a"), 8u);
    EXPECT_EQ(count("etc\xe2\x80\xa6"), 4u);
    EXPECT_EQ(count("a\r\n"), 2u);
    EXPECT_EQ(prefix("revspec", 3), "rev");
    EXPECT_EQ(prefix("revspec", 30), "revspec");
    EXPECT_EQ(prefix("revspec", 0), "");
    EXPECT_EQ(prefix("e\xcc\x81t\xc3\xa9", 2), "e\xcc\x81t");
    EXPECT_EQ(prefix("\r\nx", 1), "\r\n");
    EXPECT_EQ(dropFirst("-rvalue", 2), "value");
    EXPECT_EQ(dropFirst("-\xc3\xa9value", 2), "value");
    EXPECT_EQ(dropFirst("ab", 5), "");
}

TEST(Unicode, CaseMappingOfAsciiAndBeyond) {
    using namespace ap::unicode;
    EXPECT_EQ(lowercased("URLSession-2"), "urlsession-2");
    EXPECT_EQ(uppercased("revspec_a-2"), "REVSPEC_A-2");
    EXPECT_EQ(lowercased("\xc3\x89T\xc3\x89"), "\xc3\xa9t\xc3\xa9");  // ÉTÉ
    EXPECT_EQ(uppercased("\xc3\xa9t\xc3\xa9"), "\xc3\x89T\xc3\x89");
    EXPECT_EQ(uppercased("a\xff"), "A\xff");

    for (std::string_view upper : {"A", "Z", "\xc3\x89"}) EXPECT_TRUE(isUppercase(upper)) << upper;
    for (std::string_view other : {"a", "1", "-", "\xc3\xa9", "@", "["}) EXPECT_FALSE(isUppercase(other)) << other;
    for (std::string_view lower : {"a", "z", "\xc3\xa9"}) EXPECT_TRUE(isLowercase(lower)) << lower;
    for (std::string_view other : {"A", "0", "_", "\xc3\x89", "`", "{"}) EXPECT_FALSE(isLowercase(other)) << other;
}

}  // namespace
