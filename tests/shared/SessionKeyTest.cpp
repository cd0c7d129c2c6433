#include "shared/SessionKey.hpp"

#include <gtest/gtest.h>

using namespace VarnShared;

TEST(SessionKey, TheWorkedExampleEveryPartOfTheIdentityAndItsQuotedForm) {
    DiffToolSession session{"/r", 42, std::nullopt, std::nullopt};
    EXPECT_EQ(sessionIdentityText(session), R"(Optional(42):Optional("/r"):nil:nil)");
    EXPECT_EQ(sessionKey(session), "5397288931058867052");
    EXPECT_EQ(sessionIdentityText({"/r", -7, "main", "dev"}),
              R"(Optional(-7):Optional("/r"):Optional("main"):Optional("dev"))");
    EXPECT_EQ(sessionIdentityText({"/r", std::nullopt, std::nullopt, "dev"}),
              R"(nil:Optional("/r"):nil:Optional("dev"))");

    // The quoted form escapes quotes, backslashes and control characters.
    EXPECT_EQ(quotedText("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(quotedText(std::string("\t\n\r\0", 4)), R"("\t\n\r\0")");
    EXPECT_EQ(quotedText("\x1b\x7f"), R"("\u{1b}\u{7f}")");
}
