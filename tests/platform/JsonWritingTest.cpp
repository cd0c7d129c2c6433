#include <gtest/gtest.h>

#include "platform/Json.hpp"
#include "platform/PrettyJsonWriter.hpp"

// Indentation, separators and string escapes are pinned by the help dumps
// compared byte for byte; what they never hold is checked here.
TEST(PrettyJsonWriter, EmptyContainersEscapedSlashesAndNegativeNumbers) {
    platform::PrettyJsonWriter out;
    out.beginObject();
    out.key("a/b");
    out.beginArray();
    out.beginObject();
    out.endObject();
    out.beginArray();
    out.endArray();
    out.value(-3LL);
    out.endArray();
    out.endObject();
    EXPECT_EQ(out.take(), "{\n  \"a\\/b\" : [\n    {},\n    [],\n    -3\n  ]\n}");
}

TEST(CompactJson, MembersInKeyOrderWithoutWhitespace) {
    auto value = nlohmann::json::parse(R"({"b":[1,{},[]],"a":"\u0001/","c":null})");
    EXPECT_EQ(platform::serializeJson(value), R"({"a":"\u0001\/","b":[1,{},[]],"c":null})");
}
