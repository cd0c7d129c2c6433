#include <gtest/gtest.h>

#include "platform/Json.hpp"
#include "platform/PrettyJsonWriter.hpp"

TEST(PrettyJsonWriter, NestingEmptyContainersAndEscapes) {
    platform::PrettyJsonWriter out;
    out.beginObject();
    out.key("a/b");
    out.beginArray();
    out.value("x\"y\n");
    out.beginObject();
    out.endObject();
    out.beginArray();
    out.endArray();
    out.value(true);
    out.endArray();
    out.key("n");
    out.value(-3LL);
    out.endObject();
    EXPECT_EQ(out.take(),
              "{\n"
              "  \"a\\/b\" : [\n"
              "    \"x\\\"y\\n\",\n"
              "    {},\n"
              "    [],\n"
              "    true\n"
              "  ],\n"
              "  \"n\" : -3\n"
              "}");
}

TEST(CompactJson, MembersInKeyOrderWithoutWhitespace) {
    auto value = nlohmann::json::parse(R"({"b":[1,{},[]],"a":"\u0001/","c":null})");
    EXPECT_EQ(platform::serializeJson(value), R"({"a":"\u0001\/","b":[1,{},[]],"c":null})");
}
