// The hand-off records in their directories, and the rules that read a
// directory or link back as a repository and a file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "platform/FileSystem.hpp"
#include "platform/Paths.hpp"
#include "platform/Url.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/HandOffDirectory.hpp"
#include "shared/HistoryLink.hpp"
#include "shared/HistoryMetaData.hpp"
#include "shared/IncomingHandOff.hpp"
#include "shared/MergeLink.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "shared/SessionKey.hpp"
#include "tests/shared/HandOffFixture.hpp"

using namespace VarnShared;
using platform::Url;

namespace {

DiffToolMetaData session(std::vector<DiffToolMetaData::Entry> entries) {
    DiffToolMetaData record;
    record.repo = "/r";
    record.pid = 42;
    record.entries = std::move(entries);
    return record;
}

// Repositories reached through symbolic links, so that every rule that
// resolves links shows it.
class HandOffLinksTest : public HandOffTest {
protected:
    HandOffLinksTest() {
        scratch.makeDirectory("real/sub");
        (void)::symlink((scratch / "real").c_str(), (scratch / "alias").c_str());
        real = platform::resolvingSymlinksInPath(scratch / "real");
        alias = scratch / "alias";
    }

    static Url directoryURL(const std::string& path) { return *platform::fileURL(path); }
    static std::optional<std::string> pathOf(const std::optional<Url>& url) {
        return url ? url->filePath() : std::nullopt;
    }

    /// The directory of a written session of `repo`.
    static std::string writtenSession(const std::string& repo) {
        DiffToolMetaData session;
        session.repo = repo;
        session.pid = 4242;
        std::ostringstream out;
        EXPECT_TRUE(session.write(out));
        return sessionDirectory(session);
    }

    std::string real;
    std::string alias;
};

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
    std::string directory = sessionDirectory(record);
    EXPECT_EQ(directory, temporary + "//" + sessionKey(record));
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
    EXPECT_FALSE(loadSession(record));
    std::ostringstream out;
    ASSERT_TRUE(record.write(out));

    // Any session with the same identity finds it; another identity does not.
    DiffToolSession identity{"/r", 42, std::nullopt, std::nullopt};
    EXPECT_EQ(loadSession(identity), record);
    identity.revspecA = "main";
    EXPECT_FALSE(loadSession(identity));

    ASSERT_TRUE(platform::writeFileNoFollow(sessionDirectory(record) + "/.varnel-difftool", "{"));
    EXPECT_FALSE(loadSession(record));
}

TEST_F(HandOffLinksTest, RepositoryOfADifftoolSessionComesBeforeAMergeRecord) {
    auto directory = writtenSession(alias + "/sub");
    EXPECT_EQ(pathOf(repositoryURL(directoryURL(directory))), real + "/sub");

    MergeToolMetaData merge{"/elsewhere", "/elsewhere/a.c", directory};
    auto recordFile = metadataFilePath(directory, MergeToolMetaData::fileName);
    ASSERT_TRUE(platform::writeFileAtomically(recordFile, *merge.encode()));
    EXPECT_EQ(pathOf(repositoryURL(directoryURL(directory))), real + "/sub");
    // Only a merge record names a target; a session directory is its own.
    EXPECT_EQ(pathOf(targetFileURL(directoryURL(directory))), "/elsewhere/a.c");
}

TEST_F(HandOffLinksTest, MergeHandOffNamesRepositoryFileAndLinkToFileUrlsOnly) {
    auto merge = MergeToolMetaData::create(alias, alias + "/sub/a b.c");
    ASSERT_TRUE(merge) << merge.error().description;
    auto directory = directoryURL(merge->path);

    EXPECT_EQ(pathOf(repositoryURL(directory)), real);
    EXPECT_EQ(pathOf(targetFileURL(directory)), real + "/sub/a b.c");

    // The link names the files as the record does, links unresolved.
    EXPECT_EQ(mergeLinkForDirectory(directory), mergeLink(alias + "/sub/a b.c", alias));

    auto web = Url::parse("https://example.com" + directory.components().percentEncodedPath).value();
    EXPECT_FALSE(repositoryURL(web));
    EXPECT_EQ(pathOf(targetFileURL(web)), merge->path);
    EXPECT_FALSE(mergeLinkForDirectory(web));
}

TEST_F(HandOffLinksTest, DamagedOrForeignRecordsOnlyMakeTheirRuleNotApply) {
    auto directory = writtenSession(real);
    std::ofstream(directory + "/" + std::string(DiffToolMetaData::fileName)) << "{\"repo\":";
    EXPECT_FALSE(repositoryURL(directoryURL(directory)));

    MergeToolMetaData merge{alias, alias + "/x", directory};
    ASSERT_TRUE(platform::writeFileAtomically(metadataFilePath(directory, MergeToolMetaData::fileName),
                                              *merge.encode()));
    EXPECT_EQ(pathOf(repositoryURL(directoryURL(directory))), real);

    std::ofstream(directory + "/" + std::string(MergeToolMetaData::fileName)) << "{\"repo\":\"/r\"}";
    EXPECT_FALSE(repositoryURL(directoryURL(directory)));
    EXPECT_EQ(pathOf(targetFileURL(directoryURL(directory))), directory);
    EXPECT_FALSE(mergeLinkForDirectory(directoryURL(directory)));
    EXPECT_FALSE(mergeLinkForDirectory(directoryURL(scratch / "nothing here")));

    // A history hand-off is not consulted: it is its own target.
    auto history = HistoryMetaData::create(real, real + "/f").value();
    EXPECT_FALSE(repositoryURL(directoryURL(history.path)));
    EXPECT_EQ(pathOf(targetFileURL(directoryURL(history.path))), history.path);
}

TEST_F(HandOffLinksTest, RecordFormsMakeTheRepositoryAbsolute) {
    testsupport::ScopedCurrentDirectory in(real);
    MergeToolMetaData merge{"sub/", "/f/a.c", "/unused"};
    HistoryMetaData history{real + "/", "/f/h.c", "/unused"};
    EXPECT_EQ(mergeLink(merge), mergeLink("/f/a.c", real + "/sub"));
    EXPECT_EQ(historyLink(history), historyLink("/f/h.c", real));
}
