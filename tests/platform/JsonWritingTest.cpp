#include <gtest/gtest.h>

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
