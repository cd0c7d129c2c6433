// The hand-off records in their directories, as the application finds them,
// and the rules that read a directory or link back as a repository and a
// file. How the tool writes a merge's record is checked end to end.

#include <gtest/gtest.h>

#include "platform/FileSystem.hpp"
#include "platform/Url.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/HandOffDirectory.hpp"
#include "shared/HistoryLink.hpp"
#include "shared/HistoryMetaData.hpp"
#include "shared/IncomingHandOff.hpp"
#include "shared/MergeLink.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "shared/SessionKey.hpp"
#include "tests/support/HandOffTest.hpp"

using namespace VarnShared;
using namespace testsupport;
using platform::Url;

namespace {

// Repositories reached through symbolic links, so that every rule that
// resolves links shows it.
class HandOffLinksTest : public HandOffTest {
protected:
    static Url directoryURL(const std::string& path) { return *platform::fileURL(path); }
    static std::optional<std::string> pathOf(const std::optional<Url>& url) {
        return url ? url->filePath() : std::nullopt;
    }

    /// The directory of a written session of `repo`.
    static std::string writtenSession(const std::string& repo) {
        DiffToolMetaData session;
        session.repo = repo;
        session.pid = 4242;
        EXPECT_TRUE(session.write([](std::string_view) {}));
        return sessionDirectory(session);
    }

    std::string sub = scratch.makeDirectory("real/sub");
    std::string real = scratch / "real";
    std::string alias = scratch.makeLink("alias", scratch / "real");
};

}  // namespace

TEST_F(HandOffTest, AHandOffDirectoryHoldsItsRecordOnly) {
    auto history = HistoryMetaData::create("/r", "/r/h.txt").value();
    EXPECT_EQ(entriesOf(history.path), std::set<std::string>{".varnel-history"});
    EXPECT_FALSE(MergeToolMetaData::metadataExists(history.path));
    EXPECT_EQ(HistoryMetaData::readMetadata(history.path).value(), history);
    EXPECT_NE(HistoryMetaData::create("/r", "/r/h.txt").value().path, history.path);

    // A merge record exists for anything at its name; reading reports a missing or damaged file.
    std::string directory = scratch.makeDirectory("handoff");
    EXPECT_FALSE(MergeToolMetaData::metadataExists(directory));
    EXPECT_FALSE(MergeToolMetaData::metadataExists("https://example.com/page"));
    EXPECT_EQ(MergeToolMetaData::readMetadata(directory).error().code, ENOENT);
    scratch.writeFile("handoff/.varnel-mergetool", R"({"repo":"/r"})");
    EXPECT_TRUE(MergeToolMetaData::metadataExists(directory));
    EXPECT_NE(MergeToolMetaData::readMetadata(directory).error().description.find(directory + "/.varnel-mergetool"),
              std::string::npos);
}

TEST_F(HandOffTest, EveryWriterRefusesATemporaryDirectoryThatIsALink) {
    std::string real = scratch.makeDirectory("real", 0700);
    ScopedVariable linked("TMPDIR", scratch.makeLink("link", real));
    EXPECT_FALSE(HistoryMetaData::create("/r", "/r/h"));
    DiffToolMetaData session;
    session.repo = "/r";
    EXPECT_FALSE(session.write([](std::string_view line) { ADD_FAILURE() << line; }));
    EXPECT_TRUE(entriesOf(real).empty());
}

TEST_F(HandOffLinksTest, RepositoryOfADifftoolSessionComesBeforeAMergeRecord) {
    auto directory = writtenSession(alias + "/sub");
    EXPECT_EQ(pathOf(repositoryURL(directoryURL(directory))), real + "/sub");
    MergeToolMetaData merge{"/elsewhere", "/elsewhere/a.c", directory};
    ASSERT_TRUE(platform::writeFileAtomically(metadataFilePath(directory, MergeToolMetaData::fileName),
                                              *merge.encode()));
    EXPECT_EQ(pathOf(repositoryURL(directoryURL(directory))), real + "/sub");
    // Only a merge record names a target; a session directory is its own.
    EXPECT_EQ(pathOf(targetFileURL(directoryURL(directory))), "/elsewhere/a.c");
}

TEST_F(HandOffLinksTest, MergeHandOffNamesRepositoryFileAndLinkToFileUrlsOnly) {
    auto merge = MergeToolMetaData::create(alias, alias + "/sub/a b.c").value();
    auto directory = directoryURL(merge.path);
    EXPECT_EQ(pathOf(repositoryURL(directory)), real);
    EXPECT_EQ(pathOf(targetFileURL(directory)), real + "/sub/a b.c");
    // The link names the files as the record does, links unresolved.
    EXPECT_EQ(mergeLinkForDirectory(directory), mergeLink(alias + "/sub/a b.c", alias));

    auto web = Url::parse("https://example.com" + directory.components().percentEncodedPath).value();
    EXPECT_FALSE(repositoryURL(web));
    EXPECT_EQ(pathOf(targetFileURL(web)), merge.path);
    EXPECT_FALSE(mergeLinkForDirectory(web));

    // Record forms make the repository absolute.
    ScopedCurrentDirectory in(real);
    EXPECT_EQ(mergeLink(MergeToolMetaData{"sub/", "/f/a.c", "/unused"}), mergeLink("/f/a.c", real + "/sub"));
    EXPECT_EQ(historyLink(HistoryMetaData{real + "/", "/f/h.c", "/unused"}), historyLink("/f/h.c", real));
}

TEST_F(HandOffLinksTest, DamagedOrForeignRecordsOnlyMakeTheirRuleNotApply) {
    auto directory = writtenSession(real);
    auto relative = directory.substr(scratch.path().size() + 1);
    scratch.writeFile(relative + "/.varnel-difftool", "{\"repo\":");
    EXPECT_FALSE(repositoryURL(directoryURL(directory)));
    MergeToolMetaData merge{alias, alias + "/x", directory};
    scratch.writeFile(relative + "/.varnel-mergetool", *merge.encode());
    EXPECT_EQ(pathOf(repositoryURL(directoryURL(directory))), real);

    scratch.writeFile(relative + "/.varnel-mergetool", "{\"repo\":\"/r\"}");
    EXPECT_FALSE(repositoryURL(directoryURL(directory)));
    EXPECT_EQ(pathOf(targetFileURL(directoryURL(directory))), directory);
    EXPECT_FALSE(mergeLinkForDirectory(directoryURL(directory)));
    EXPECT_FALSE(mergeLinkForDirectory(directoryURL(scratch / "nothing here")));

    // A history hand-off is not consulted: it is its own target.
    auto history = HistoryMetaData::create(real, real + "/f").value();
    EXPECT_FALSE(repositoryURL(directoryURL(history.path)));
    EXPECT_EQ(pathOf(targetFileURL(directoryURL(history.path))), history.path);
}
