#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/Json.hpp"
#include "platform/PrettyJsonWriter.hpp"

// Indentation, separators and string escapes are pinned by the tool's
// description, compared byte for byte end to end; what it never holds is
// checked here.
TEST(PrettyJsonWriter, EmptyContainersEscapedSlashesAndNegativeNumbers) {
    platform::PrettyJsonWriter out;
    out.beginObject();
    out.key("a");
    out.beginArray();
    out.beginObject();
    out.endObject();
    out.beginArray();
    out.endArray();
    out.value("b/c");
    out.value(-3LL);
    out.endArray();
    out.endObject();
    EXPECT_EQ(out.take(), "{\n  \"a\" : [\n    {},\n    [],\n    \"b\\/c\",\n    -3\n  ]\n}");
}

// A writer's own string read back without unescaping: every byte as the
// writer escapes it, and nothing written another way, however valid JSON.
TEST(JsonStrings, AWrittenStringIsKnownOnlyInTheWritersOwnForm) {
    for (int c = 0; c < 256; ++c) {
        std::string written;
        platform::appendJsonString("a" + std::string(1, static_cast<char>(c)) + "/b", written);
        EXPECT_EQ(platform::writtenJsonStringSize(written + ",\"x\""), written.size()) << c;
    }
    for (std::string_view other : {R"("/")", R"("\u002f")", R"("\u0041")", R"("\u001F")", R"("\u000a")", "\"\x01\"",
                                   R"("\a")", R"("\u00")", R"("ab\")", R"(x"")"})
        EXPECT_EQ(platform::writtenJsonStringSize(other), std::nullopt) << other;
}
