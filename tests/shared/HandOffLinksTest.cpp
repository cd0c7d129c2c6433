#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

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

TEST_F(HandOffLinksTest, RepositoryOfADifftoolSessionComesBeforeAMergeRecord) {
    auto directory = writtenSession(alias + "/sub");
    EXPECT_EQ(pathOf(repositoryURL(directoryURL(directory))), real + "/sub");

    MergeToolMetaData merge{"/elsewhere", "/elsewhere/a.c", directory};
    ASSERT_TRUE(writeHandOff(directory, MergeToolMetaData::fileName, *merge.encode()));
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
}

TEST_F(HandOffLinksTest, DamagedOrForeignRecordsOnlyMakeTheirRuleNotApply) {
    auto directory = writtenSession(real);
    std::ofstream(directory + "/" + std::string(DiffToolMetaData::fileName)) << "{\"repo\":";
    EXPECT_FALSE(repositoryURL(directoryURL(directory)));

    MergeToolMetaData merge{alias, alias + "/x", directory};
    ASSERT_TRUE(writeHandOff(directory, MergeToolMetaData::fileName, *merge.encode()));
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

TEST_F(HandOffLinksTest, OnlyFileUrlsReachHandOffDirectories) {
    auto merge = MergeToolMetaData::create(real, real + "/a.c");
    ASSERT_TRUE(merge);
    auto web = Url::parse("https://example.com" + directoryURL(merge->path).components().percentEncodedPath);
    ASSERT_TRUE(web);
    EXPECT_FALSE(repositoryURL(*web));
    EXPECT_EQ(pathOf(targetFileURL(*web)), merge->path);
    EXPECT_FALSE(mergeLinkForDirectory(*web));
}

TEST_F(HandOffLinksTest, RecordFormsMakeTheRepositoryAbsolute) {
    testsupport::ScopedCurrentDirectory in(real);
    MergeToolMetaData merge{"sub/", "/f/a.c", "/unused"};
    HistoryMetaData history{real + "/", "/f/h.c", "/unused"};
    EXPECT_EQ(mergeLink(merge), mergeLink("/f/a.c", real + "/sub"));
    EXPECT_EQ(historyLink(history), historyLink("/f/h.c", real));
}
