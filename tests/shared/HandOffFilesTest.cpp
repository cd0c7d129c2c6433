#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>
#include <sstream>

#include "platform/FileSystem.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/HistoryMetaData.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "shared/SessionKey.hpp"
#include "tests/shared/HandOffFixture.hpp"

using VarnShared::DiffToolMetaData;
using VarnShared::HistoryMetaData;
using VarnShared::MergeToolMetaData;

namespace {

DiffToolMetaData session(std::vector<DiffToolMetaData::Entry> entries) {
    DiffToolMetaData record;
    record.repo = "/r";
    record.pid = 42;
    record.entries = std::move(entries);
    return record;
}

}  // namespace

TEST_F(HandOffTest, CreateMakesANewDirectoryWithTheRecordEachTime) {
    auto first = MergeToolMetaData::create("/r", "/r/a.c");
    auto second = MergeToolMetaData::create("/r", "/r/a.c");
    ASSERT_TRUE(first) << first.error().description;
    ASSERT_TRUE(second);
    EXPECT_NE(first->path, second->path);
    // T as given ends in "/", and a name is joined with another "/".
    const std::regex handOff(temporary + "//[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    for (const auto& record : {*first, *second}) {
        EXPECT_TRUE(std::regex_match(record.path, handOff)) << record.path;
        EXPECT_EQ(entriesOf(record.path), std::set<std::string>{".varnel-mergetool"});
        EXPECT_EQ(*MergeToolMetaData::readMetadata(record.path), record);
    }
    EXPECT_EQ(entriesOf(temporary).size(), 2u);

    auto history = HistoryMetaData::create("/r", "/r/h.txt");
    ASSERT_TRUE(history) << history.error().description;
    EXPECT_EQ(entriesOf(history->path), std::set<std::string>{".varnel-history"});
    EXPECT_FALSE(MergeToolMetaData::metadataExists(history->path));
    EXPECT_EQ(*HistoryMetaData::readMetadata(history->path), *history);
}

TEST_F(HandOffTest, MetadataExistsForAnythingAtTheNameAndReadingReportsAMissingOrDamagedFile) {
    std::string directory = scratch.makeDirectory("handoff");
    EXPECT_FALSE(MergeToolMetaData::metadataExists(directory));
    EXPECT_FALSE(MergeToolMetaData::metadataExists("https://example.com/page"));
    auto missing = MergeToolMetaData::readMetadata(directory);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ENOENT);

    ASSERT_TRUE(platform::writeFileNoFollow(directory + "/.varnel-mergetool", R"({"repo":"/r"})"));
    EXPECT_TRUE(MergeToolMetaData::metadataExists(directory));
    auto damaged = MergeToolMetaData::readMetadata(directory);
    ASSERT_FALSE(damaged);
    EXPECT_NE(damaged.error().description.find(directory + "/.varnel-mergetool"), std::string::npos);
}

TEST_F(HandOffTest, EveryWriterRefusesATemporaryDirectoryThatIsALink) {
    std::string real = scratch.makeDirectory("real", 0700);
    testsupport::ScopedVariable linked("TMPDIR", scratch / "link");
    ASSERT_EQ(::symlink(real.c_str(), (scratch / "link").c_str()), 0);
    EXPECT_FALSE(MergeToolMetaData::create("/r", "/r/a.c"));
    EXPECT_FALSE(HistoryMetaData::create("/r", "/r/h"));
    std::ostringstream out;
    EXPECT_FALSE(session({}).write(out));
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(entriesOf(real).empty());
}

TEST_F(HandOffTest, WriteReplacesAnOlderLongerFileExactlyAndAnnouncesThePath) {
    auto record = session({{"/b", "/l", "/r", "/m"}});
    std::string directory = VarnShared::sessionDirectory(record);
    EXPECT_EQ(directory, temporary + "//" + VarnShared::sessionKey(record));
    ASSERT_TRUE(platform::createDirectoryWithParents(directory));
    ASSERT_TRUE(platform::writeFileNoFollow(directory + "/.varnel-difftool", std::string(4096, ' ') + "{}"));

    std::ostringstream out;
    ASSERT_TRUE(record.write(out));
    EXPECT_EQ(out.str(), "Writing to: " + directory + "/.varnel-difftool\n");
    EXPECT_EQ(*platform::readFile(directory + "/.varnel-difftool"), *record.encode());
    EXPECT_EQ(entriesOf(directory), std::set<std::string>{".varnel-difftool"});
}

TEST_F(HandOffTest, LoadSessionFindsTheWrittenRecordAndNothingOtherwise) {
    auto record = session({{"/b", "/l", "/r", "/m"}, {"/b2", "/l2", "/r2", "/m2"}});
    EXPECT_FALSE(VarnShared::loadSession(record));
    std::ostringstream out;
    ASSERT_TRUE(record.write(out));

    // Any session with the same identity finds it; another identity does not.
    VarnShared::DiffToolSession identity{"/r", 42, std::nullopt, std::nullopt};
    EXPECT_EQ(VarnShared::loadSession(identity), record);
    identity.revspecA = "main";
    EXPECT_FALSE(VarnShared::loadSession(identity));

    ASSERT_TRUE(platform::writeFileNoFollow(VarnShared::sessionDirectory(record) + "/.varnel-difftool", "{"));
    EXPECT_FALSE(VarnShared::loadSession(record));
}
