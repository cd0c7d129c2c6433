#include <vector>

#include <gtest/gtest.h>

#include "shared/DiffToolMetaData.hpp"
#include "shared/HistoryMetaData.hpp"
#include "shared/MergeToolMetaData.hpp"

using namespace VarnShared;

// Compact, absent optionals left out, slashes escaped; read back in any
// order, with escapes and unknown members. Awkward texts come back through
// the fuzz target's round trip.
TEST(DiffToolMetaDataJson, LayoutAndRoundTrip) {
    DiffToolMetaData record;
    record.repo = "/r";
    EXPECT_EQ(*record.encode(), R"({"entries":[],"repo":"\/r"})");
    record.pid = 4242;
    record.revspecA = "main";
    record.entries = {{"/b", "/l", "/r", "/m"}};
    EXPECT_EQ(*record.encode(), R"({"entries":[{"base":"\/b","local":"\/l","merged":"\/m","remote":"\/r"}],"pid":4242,)"
                                R"("repo":"\/r","revspecA":"main"})");
    record.repo = "/r\xff";
    EXPECT_FALSE(record.encode());

    auto decoded = DiffToolMetaData::decode(R"( { "extra": {"x": [1, null]}, "entries": [ {"merged": "\/m",
        "remote": "\u002Fr", "local": "/l", "base": "/caf\u00e9", "more": 1} ], "revspecB": null, "pid": -1,
        "repo": "\/r" } )");
    EXPECT_EQ(decoded.value(),
              (DiffToolMetaData{{"/r", -1, std::nullopt, std::nullopt}, {{"/caf\xc3\xa9", "/l", "/r", "/m"}}}));

    // The pid must be a 32-bit integer.
    auto withPid = [](const std::string& pid) {
        return DiffToolMetaData::decode(R"({"repo":"/r","entries":[],"pid":)" + pid + "}");
    };
    EXPECT_EQ(withPid("2147483647")->pid, 2147483647);
    EXPECT_EQ(withPid("-2147483648")->pid, -2147483647 - 1);
    EXPECT_EQ(withPid("42.0")->pid, 42);
    for (const char* pid : {"2147483648", "-2147483649", "1.5", "\"42\""}) EXPECT_FALSE(withPid(pid)) << pid;
}

TEST(DiffToolMetaDataJson, TheFirstErrorIsTheOneMetMemberByMember) {
    // The record is read in one pass over the text, whatever the order of
    // its members; the error is still that of checking repo, pid, the
    // revisions, then whether every element is an object, then each entry.
    // The fuzz target holds the pass to the errors of reading a JSON value.
    const std::string entry = R"({"base":"/b","local":"/l","remote":"/r","merged":"/m"})";
    for (const auto& [json, reason] : std::vector<std::pair<std::string, std::string>>{
             {R"({"entries":7})", R"(the member "repo" is missing)"},
             {R"({"entries":[],"repo":{"a":"b"}})", R"(the member "repo" is not a string)"},
             {R"({"repo":"/r","pid":[],"entries":[]})", R"(the member "pid" is not a number)"},
             {R"({"repo":"/r","entries":[{},5]})", R"(the member "entries[1]" is not an object)"},
             {R"({"repo":"/r","entries":[{}]})", R"(the member "entries[0].base" is missing)"},
             {R"({"repo":"/r","entries":[)" + entry + R"(,{"base":"/b","local":[1]}]})",
              R"(the member "entries[1].local" is not a string)"},
             {R"({"repo":"/r","entries":{"entries":[]}})", R"(the member "entries" is not an array)"},
             {R"([{"repo":"/r","entries":[]}])", "it is not a JSON object"},
             {R"({"repo":"/r","entries":[]} x)", "it is not valid JSON"},
         }) {
        auto decoded = DiffToolMetaData::decode(json, "/T/1/.varnel-difftool");
        ASSERT_FALSE(decoded) << json;
        EXPECT_EQ(decoded.error().description, "Cannot decode /T/1/.varnel-difftool: " + reason) << json;
    }
}

// Canonically equivalent texts are equal and hash alike, as the new options
// of a session show; each text counts, and in its own place.
TEST(DiffToolMetaDataEntry, EachTextCountsInItsOwnPlace) {
    EXPECT_NE((DiffToolMetaData::Entry{"/caf\xc3\xa9", "/l", "/r", "/m"}),
              (DiffToolMetaData::Entry{"/café", "/l", "/r", "/x"}));
    EXPECT_NE((DiffToolMetaData::Entry{"/a", "/b", "/r", "/m"}), (DiffToolMetaData::Entry{"/b", "/a", "/r", "/m"}));
}

// Their round trips are those of the hand-off tests, through the files.
TEST(MergeAndHistoryJson, LayoutAndEveryMemberRequired) {
    MergeToolMetaData merge{"/r", "/r/a b.c", "/T//UUID"};
    EXPECT_EQ(*merge.encode(), R"({"fileToMerge":"\/r\/a b.c","path":"\/T\/\/UUID","repo":"\/r"})");
    EXPECT_FALSE(MergeToolMetaData::decode(R"({"repo":"/r","path":"/p"})"));
    EXPECT_FALSE(MergeToolMetaData::decode(R"({"repo":"/r","fileToMerge":null,"path":"/p"})"));

    HistoryMetaData history{"/r", "/r/h.txt", "/T//UUID"};
    EXPECT_EQ(*history.encode(), R"({"historyFile":"\/r\/h.txt","path":"\/T\/\/UUID","repo":"\/r"})");
    EXPECT_FALSE(HistoryMetaData::decode(R"({"repo":"/r","historyFile":"/h"})"));
    EXPECT_FALSE(HistoryMetaData::decode(R"({"repo":"/r","historyFile":1,"path":"/p"})"));
}
