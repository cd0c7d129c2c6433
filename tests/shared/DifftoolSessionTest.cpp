// A difftool run's options, how its files enter the session, what the
// application is shown as new, and one run's load, extend and write.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "shared/DiffToolMetaData.hpp"
#include "shared/DifftoolOptions.hpp"
#include "shared/DifftoolRun.hpp"
#include "shared/NewOptions.hpp"
#include "shared/SessionEntries.hpp"
#include "shared/SessionKey.hpp"
#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using namespace VarnShared;
using testsupport::readFile;

namespace {

class DifftoolSession : public ::testing::Test {
protected:
    DifftoolOptions options(const std::string& local, const std::string& remote) const {
        return DifftoolOptions(repo, 42, "main", std::nullopt, "/dev/null", local, remote, remote);
    }
    /// The copy's path is the session directory, the file's name, "-" and a UUID.
    std::string copyPattern(const DifftoolOptions& o, const std::string& name) const {
        return "^" + temporary + "//" + sessionKey(o) + "/" + name +
               "-[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$";
    }

    testsupport::TemporaryDirectory tmp;
    std::string temporary = tmp.makeDirectory("T");
    testsupport::ScopedVariable tmpdir{"TMPDIR", temporary};
    std::string repo = tmp.makeDirectory("repo");
    std::string inside = tmp.writeFile("repo/a.txt", "work tree\n");
    std::string outside = tmp.writeFile("git-blob/a.txt", "old\n");
};

}  // namespace

TEST(NormalizeFileArgument, FileUrlsAbsoluteAndRelativeTexts) {
    testsupport::TemporaryDirectory cwd;
    testsupport::ScopedCurrentDirectory in(cwd.path());
    struct Case {
        std::string text;
        std::string path;
    } cases[] = {
        {"file:///caf%C3%A9/a%20b", "/caf\xC3\xA9/a b"},
        {"file://localhost/etc/hosts?x=1#top", "/etc/hosts"},
        {"file:/a/b/", "/a/b"},
        // Not a URL (a blank, a broken escape, bytes that are no UTF-8): the
        // text after "file:" is taken as a path.
        {"file:///100%", "///100%"},
        {"file:///%FF", "///%FF"},
        {"/abs/a%20b.txt", "/abs/a%20b.txt"},
        {"sub/../b.txt", cwd / "b.txt"},
        {"file:a.txt", cwd / "file:a.txt"},
        {"~/a", cwd / "~/a"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(normalizeFileArgument(c.text), c.path) << c.text;
}

TEST(DifftoolOptionsConstruction, RepositoryIsAbsoluteLinkFreeAndTheCurrentDirectoryWhenAbsent) {
    testsupport::TemporaryDirectory tmp;
    auto real = tmp.makeDirectory("real/repo");
    tmp.makeLink("link", "real");
    testsupport::ScopedCurrentDirectory in(tmp.path());
    testsupport::ScopedVariable home("HOME", tmp.path());
    auto repoOf = [](std::optional<std::string> repo) { return DifftoolOptions(repo, 1, {}, {}, "", "", "", "").repo; };
    EXPECT_EQ(repoOf("link/repo/"), real);
    EXPECT_EQ(repoOf("~/link/./repo"), real);
    EXPECT_EQ(repoOf(std::nullopt), tmp.path());
    EXPECT_EQ(repoOf("missing/../gone"), tmp / "gone");

    DifftoolOptions o("/r", -7, "a", std::nullopt, "file:///x", "y", "/dev/null", "/z");
    EXPECT_EQ(o, DifftoolOptions("/r", -7, "a", std::nullopt, "/x", tmp / "y", "/dev/null", "/z"));
}

TEST_F(DifftoolSession, FilesInsideStayAndFilesOutsideAreCopiedIntoTheSessionDirectory) {
    auto o = options(outside, inside);
    tmp.makeLink("into-repo", "repo");
    for (const auto& path : {inside, repo, tmp / "into-repo/a.txt", std::string("/dev/null"), std::string()}) {
        auto preserved = preserveFile(path, o);
        ASSERT_TRUE(preserved) << preserved.error().description;
        EXPECT_EQ(*preserved, path);
    }
    EXPECT_FALSE(std::filesystem::exists(sessionDirectory(o))) << "nothing to copy, no directory";

    // A sibling whose name merely begins with the repository's is outside too.
    auto sibling = tmp.writeFile("repo-old/b.txt", "sibling\n");
    for (const auto& [path, name, content] : {std::tuple{outside, "a.txt", "old\n"}, {sibling, "b.txt", "sibling\n"}}) {
        auto preserved = preserveFile(path, o);
        ASSERT_TRUE(preserved) << preserved.error().description;
        EXPECT_THAT(*preserved, ::testing::MatchesRegex(copyPattern(o, name)));
        EXPECT_EQ(readFile(*preserved), content);
    }
    EXPECT_NE(*preserveFile(outside, o), *preserveFile(outside, o)) << "every copy is new";
}

TEST_F(DifftoolSession, AFileThatCannotBeCopiedIsAnErrorAndNothingIsRecorded) {
    auto o = options(tmp / "gone/a.txt", inside);
    auto preserved = preserveFile(o.local, o);
    ASSERT_FALSE(preserved);
    EXPECT_THAT(preserved.error().description, ::testing::HasSubstr(tmp / "gone/a.txt"));
    std::ostringstream out;
    EXPECT_FALSE(recordDifftoolRun(o, out));
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(loadSession(o)) << "no record written";

    // A failure after some copies were made leaves none of them behind:
    // a second file of a compared directory that cannot be copied, or a
    // record that cannot be written.
    tmp.writeFile("left/a.txt", "a\n");
    tmp.makeLink("left/b.txt", "missing");
    DifftoolOptions compared(repo, 42, "main", std::nullopt, "", tmp / "left", tmp.makeDirectory("right"), "");
    tmp.makeDirectory("T/" + sessionKey(o) + "/.varnel-difftool/taken");
    for (const auto& failing : {compared, options(outside, inside)}) {
        EXPECT_FALSE(recordDifftoolRun(failing, out));
        EXPECT_EQ(testsupport::entriesOf(sessionDirectory(o)), std::set<std::string>{".varnel-difftool"});
    }
}

TEST_F(DifftoolSession, EntryMakeSessionAndAdding) {
    auto first = options(outside, inside);
    auto session = makeSession(first);
    ASSERT_TRUE(session) << session.error().description;
    EXPECT_EQ(static_cast<const DiffToolSession&>(*session), static_cast<const DiffToolSession&>(first));
    ASSERT_EQ(session->entries.size(), 1u);
    const auto& entry = session->entries[0];
    EXPECT_EQ(entry.base, "/dev/null");
    EXPECT_THAT(entry.local, ::testing::MatchesRegex(copyPattern(first, "a.txt")));
    EXPECT_EQ(entry.remote, inside);
    EXPECT_EQ(entry.merged, inside);

    // The record keeps its identity; the same pair twice is kept twice.
    auto other = DifftoolOptions(repo, 7, "dev", "x", inside, inside, inside, inside);
    auto grown = adding(*adding(*session, other), other);
    ASSERT_TRUE(grown);
    EXPECT_EQ(grown->pid, 42);
    EXPECT_EQ(grown->revspecA, "main");
    EXPECT_EQ(grown->entries, (std::vector<DiffToolMetaData::Entry>{entry, {inside, inside, inside, inside},
                                                                     {inside, inside, inside, inside}}));
}

// A record another writer laid out is read and rewritten as this program
// writes records; from then on it is extended as text, to the same bytes.
TEST_F(DifftoolSession, ARecordIsExtendedToTheTextItsRecordEncodesTo) {
    auto o = options(inside, inside);
    auto path = sessionDirectory(o) + "/.varnel-difftool";
    tmp.writeFile(path.substr(tmp.path().size() + 1),
                  R"( {"revspecA": "main", "pid": 42, "repo": ")" + repo +
                      R"(", "entries": [ {"base": "\/b", "remote": "/r", "local": "/l", "merged": "/m"} ] } )");
    std::filesystem::permissions(sessionDirectory(o), std::filesystem::perms::owner_all);
    DiffToolMetaData expected;
    static_cast<DiffToolSession&>(expected) = o;
    expected.entries = {{"/b", "/l", "/r", "/m"}};
    for (int run = 0; run < 2; ++run) {
        std::ostringstream out;
        ASSERT_TRUE(recordDifftoolRun(o, out));
        expected.entries.push_back({"/dev/null", inside, inside, inside});
        EXPECT_EQ(readFile(path), *expected.encode()) << "run " << run;
    }
}

TEST(NewOptions, FirstOccurrencesInOrderLessWhatWasSeen) {
    using Entry = DiffToolMetaData::Entry;
    Entry e1{"/b1", "/l1", "/r1", "/m1"}, e2{"/b2", "/l2", "/r2", "/m2"}, e3{"/b3", "/l3", "/r3", "/m3"};
    DiffToolMetaData record;
    record.repo = "/r";
    record.pid = 42;
    record.revspecA = "main";
    record.entries = {e1, e2, e1, e3};
    DiffToolMetaData previous = record;
    previous.entries = {e1};

    EXPECT_EQ(newOptions(record, previous),
              (std::vector<DifftoolOptions>{DifftoolOptions("/r", 42, "main", std::nullopt, "/b2", "/l2", "/r2", "/m2"),
                                            DifftoolOptions("/r", 42, "main", std::nullopt, "/b3", "/l3", "/r3", "/m3")}));
    EXPECT_EQ(newOptions(record, std::nullopt).size(), 3u);
    EXPECT_TRUE(newOptions(record, record).empty());

    // Entries equal by canonical equivalence count as the same.
    record.entries = {{"/caf\xC3\xA9", "/l", "/r", "/m"}, {"/cafe\xCC\x81", "/l", "/r", "/m"}};
    EXPECT_EQ(newOptions(record, std::nullopt).size(), 1u);
}

TEST_F(DifftoolSession, ASessionDirectoryThatIsALinkIsRefused) {
    auto o = options(outside, inside);
    auto elsewhere = tmp.makeDirectory("elsewhere");
    tmp.makeLink("T/" + sessionKey(o), elsewhere);
    std::ostringstream out;
    EXPECT_FALSE(recordDifftoolRun(o, out));
    EXPECT_FALSE(preserveFile(outside, o));
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}
