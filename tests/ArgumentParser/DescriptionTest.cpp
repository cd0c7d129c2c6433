// The description of a command tree: its shape, byte for byte, on a small
// tree (the golden file beside this test), and reading it back.
#include <gtest/gtest.h>

#include "ArgumentParser/ToolInfo.hpp"
#include "Trees.hpp"
#include "tests/support/TemporaryDirectory.hpp"

namespace {

using namespace ap;

struct NotUtf8 : trees::Command<"NotUtf8"> {
    static CommandConfiguration configuration() { return {.abstract = "Not UTF-8: \xff"}; }
};

TEST(Description, ShapeOfASmallTree) {
    EXPECT_EQ(dumpHelp({&typeOf<trees::Described>()}) + "\n",
              testsupport::readFile(VARN_SOURCE_DIR "/tests/ArgumentParser/described.json"));
    EXPECT_EQ(dumpHelp({&typeOf<NotUtf8>()}), "");
}

TEST(Description, ReadsBackWhatIsWritten) {
    for (auto name : {"described", "layout", "parse"}) {
        CommandStack stack{trees::named(name)};
        auto text = dumpHelp(stack);
        auto decoded = parseToolInfo(text);
        ASSERT_TRUE(decoded) << decoded.error().description();
        EXPECT_EQ(encodeToolInfo(*decoded), text) << name;
    }
}

TEST(Description, RefusesOtherVersionsAndMalformedDocuments) {
    const std::pair<const char*, const char*> cases[] = {
        {"{", "not a JSON document"},
        {R"([])", "expected an object"},
        {R"({"command": {"commandName": "x"}})", "serializationVersion: missing"},
        {R"({"serializationVersion": 0})", "command: missing"},
        {R"({"serializationVersion": 0, "command": {"commandName": 3}})", "command.commandName: expected a text"},
        {R"({"serializationVersion": 0, "command": {"commandName": "x", "subcommands": [{"commandName": "y",
            "arguments": [{"kind": "flag", "shouldDisplay": true, "isOptional": true, "isRepeating": false,
                           "names": [{"kind": "tiny", "name": "t"}]}]}]}})",
         "command.subcommands.0.arguments.0.names.0.kind: unknown name kind \"tiny\""},
    };
    for (const auto& [text, message] : cases) {
        auto decoded = parseToolInfo(text);
        ASSERT_FALSE(decoded) << text;
        EXPECT_EQ(decoded.error().description(), message) << text;
    }
}

}  // namespace
