// The tree declared with the public header alone: it parses integers, and
// its transform's reason follows the framework's refusal.
#include <gtest/gtest.h>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/MessageInfo.hpp"

namespace publicheader {
const ap::CommandType& repeat();
}

TEST(PublicHeader, IntegerArgumentsAndATransformsReason) {
    EXPECT_TRUE(ap::parseAsRoot(publicheader::repeat(), {"--count", "3", "4", "5"}));
    auto refused = ap::parseAsRoot(publicheader::repeat(), {"--count", "5x"});
    ASSERT_FALSE(refused);
    auto text = ap::MessageInfo::make(refused.error(), publicheader::repeat(), 80).fullText();
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "Error: The value '5x' is invalid for '--count <count>': Not a whole number.");
}
