#include <gtest/gtest.h>

#include <unordered_set>

#include "shared/DiffToolMetaData.hpp"
#include "shared/HistoryMetaData.hpp"
#include "shared/MergeToolMetaData.hpp"

using VarnShared::DiffToolMetaData;
using VarnShared::HistoryMetaData;
using VarnShared::MergeToolMetaData;

namespace {

DiffToolMetaData sampleSession() {
    DiffToolMetaData record;
    record.repo = "/Users/me/pro\"ject é";
    record.pid = 4242;
    record.revspecA = "main";
    record.revspecB = "feature/x\\y";
    record.entries = {{"/tmp/a", "/tmp/b", "/r/c", "/r/c"}, {"", "/dev/null", "/r/ü\n", "/r/d"}};
    return record;
}

platform::Result<DiffToolMetaData> decodeSession(const std::string& json) { return DiffToolMetaData::decode(json); }

}  // namespace

TEST(DiffToolMetaDataJson, RoundTrips) {
    auto record = sampleSession();
    auto json = record.encode();
    ASSERT_TRUE(json);
    auto decoded = decodeSession(*json);
    ASSERT_TRUE(decoded) << decoded.error().description;
    EXPECT_EQ(*decoded, record);

    record.pid.reset();
    record.revspecA.reset();
    record.revspecB.reset();
    record.entries.clear();
    json = record.encode();
    ASSERT_TRUE(json);
    decoded = decodeSession(*json);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, record);
}

TEST(DiffToolMetaDataJson, CompactWithAbsentOptionalsLeftOutAndSlashesEscaped) {
    DiffToolMetaData record;
    record.repo = "/r";
    EXPECT_EQ(*record.encode(), R"({"entries":[],"repo":"\/r"})");

    record.pid = 4242;
    record.revspecA = "main";
    record.entries = {{"/b", "/l", "/r", "/m"}};
    EXPECT_EQ(*record.encode(),
              R"({"entries":[{"base":"\/b","local":"\/l","merged":"\/m","remote":"\/r"}],"pid":4242,)"
              R"("repo":"\/r","revspecA":"main"})");
}

TEST(DiffToolMetaDataJson, ReaderAcceptsAnyOrderEscapingAndUnknownMembers) {
    auto decoded = decodeSession(R"( { "extra": {"x": [1, null]}, "entries": [ {"merged": "\/m", "remote": "\u002Fr",
        "local": "/l", "base": "/caf\u00e9", "more": 1} ], "revspecB": null, "pid": -1, "repo": "\/r" } )");
    ASSERT_TRUE(decoded) << decoded.error().description;
    EXPECT_EQ(decoded->repo, "/r");
    EXPECT_EQ(decoded->pid, -1);
    EXPECT_FALSE(decoded->revspecA);
    EXPECT_FALSE(decoded->revspecB);
    ASSERT_EQ(decoded->entries.size(), 1u);
    EXPECT_EQ(decoded->entries[0], (DiffToolMetaData::Entry{"/café", "/l", "/r", "/m"}));
}

TEST(DiffToolMetaDataJson, PidMustBeA32BitInteger) {
    EXPECT_TRUE(decodeSession(R"({"repo":"/r","entries":[],"pid":2147483647})"));
    EXPECT_TRUE(decodeSession(R"({"repo":"/r","entries":[],"pid":-2147483648})"));
    EXPECT_EQ(decodeSession(R"({"repo":"/r","entries":[],"pid":42.0})")->pid, 42);
    EXPECT_FALSE(decodeSession(R"({"repo":"/r","entries":[],"pid":2147483648})"));
    EXPECT_FALSE(decodeSession(R"({"repo":"/r","entries":[],"pid":-2147483649})"));
    EXPECT_FALSE(decodeSession(R"({"repo":"/r","entries":[],"pid":1.5})"));
    EXPECT_FALSE(decodeSession(R"({"repo":"/r","entries":[],"pid":"42"})"));
}

TEST(DiffToolMetaDataJson, MissingNullOrMistypedRequiredMembersFail) {
    for (const char* json : {
             R"({"repo":"/r"})",
             R"({"repo":"/r","entries":null})",
             R"({"entries":[]})",
             R"({"repo":null,"entries":[]})",
             R"({"repo":7,"entries":[]})",
             R"({"repo":"/r","entries":{}})",
             R"({"repo":"/r","entries":["/a"]})",
             R"({"repo":"/r","entries":[{"base":"/b","local":"/l","remote":"/r"}]})",
             R"({"repo":"/r","entries":[{"base":"/b","local":"/l","remote":"/r","merged":null}]})",
             R"({"repo":"/r","entries":[],"revspecA":1})",
             R"(["repo"])",
             R"({"repo":"/r","entries":[])",
             "{\"repo\":\"/\xff\",\"entries\":[]}",
         }) {
        EXPECT_FALSE(decodeSession(json)) << json;
    }
}

TEST(DiffToolMetaDataJson, DecodingErrorsNameTheSourceAndTheMember) {
    auto decoded = DiffToolMetaData::decode(R"({"repo":"/r","entries":[{}]})", "/T/1/.varnel-difftool");
    ASSERT_FALSE(decoded);
    EXPECT_EQ(decoded.error().description,
              "Cannot decode /T/1/.varnel-difftool: the member \"entries[0].base\" is missing");
}

TEST(DiffToolMetaDataJson, TextThatIsNotUtf8CannotBeEncoded) {
    DiffToolMetaData record;
    record.repo = "/r\xff";
    EXPECT_FALSE(record.encode());
}

TEST(DiffToolMetaDataEntry, EqualityAndHashFollowCanonicalEquivalence) {
    DiffToolMetaData::Entry composed{"/caf\xc3\xa9", "/l", "/r", "/m"};
    DiffToolMetaData::Entry decomposed{"/cafe\xcc\x81", "/l", "/r", "/m"};
    EXPECT_EQ(composed, decomposed);
    std::hash<DiffToolMetaData::Entry> hash;
    EXPECT_EQ(hash(composed), hash(decomposed));

    // Each text counts, and in its own place.
    EXPECT_NE(composed, (DiffToolMetaData::Entry{"/café", "/l", "/r", "/x"}));
    DiffToolMetaData::Entry ab{"/a", "/b", "/r", "/m"};
    DiffToolMetaData::Entry ba{"/b", "/a", "/r", "/m"};
    EXPECT_NE(ab, ba);
    EXPECT_NE(hash(ab), hash(ba));
    std::unordered_set<DiffToolMetaData::Entry> set{composed, decomposed, ab, ba};
    EXPECT_EQ(set.size(), 3u);
}

TEST(MergeAndHistoryJson, RoundTripAndRequireEveryMember) {
    MergeToolMetaData merge{"/r", "/r/a b.c", "/T//UUID"};
    EXPECT_EQ(*merge.encode(), R"({"fileToMerge":"\/r\/a b.c","path":"\/T\/\/UUID","repo":"\/r"})");
    EXPECT_EQ(*MergeToolMetaData::decode(*merge.encode()), merge);
    EXPECT_FALSE(MergeToolMetaData::decode(R"({"repo":"/r","path":"/p"})"));
    EXPECT_FALSE(MergeToolMetaData::decode(R"({"repo":"/r","fileToMerge":null,"path":"/p"})"));

    HistoryMetaData history{"/r", "/r/h.txt", "/T//UUID"};
    EXPECT_EQ(*HistoryMetaData::decode(*history.encode()), history);
    EXPECT_FALSE(HistoryMetaData::decode(R"({"repo":"/r","historyFile":"/h"})"));
    EXPECT_FALSE(HistoryMetaData::decode(R"({"repo":"/r","historyFile":1,"path":"/p"})"));
}

TEST(MergeToolResult, OnlyTheFourRawValuesHaveAResult) {
    using Result = MergeToolMetaData::Result;
    EXPECT_EQ(MergeToolMetaData::resultFromRawValue(0), Result::ok);
    EXPECT_EQ(MergeToolMetaData::resultFromRawValue(-1), Result::error);
    EXPECT_EQ(MergeToolMetaData::resultFromRawValue(-2), Result::failedToOpen);
    EXPECT_EQ(MergeToolMetaData::resultFromRawValue(-3), Result::didNotResolve);
    EXPECT_FALSE(MergeToolMetaData::resultFromRawValue(-4));
    EXPECT_FALSE(MergeToolMetaData::resultFromRawValue(1));
}
