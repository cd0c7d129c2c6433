// A difftool run's options, how its files enter the session, what the
// application is shown as new, and one run's load, extend and write. Whole
// runs under git are checked end to end.

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shared/DiffToolMetaData.hpp"
#include "shared/DifftoolOptions.hpp"
#include "shared/DifftoolRun.hpp"
#include "shared/NewOptions.hpp"
#include "shared/SessionDirectory.hpp"
#include "shared/SessionEntries.hpp"
#include "shared/SessionKey.hpp"
#include "tests/support/HandOffTest.hpp"

using namespace VarnShared;
using namespace testsupport;
using ::testing::MatchesRegex;

namespace {

class DifftoolSession : public HandOffTest {
protected:
    DifftoolOptions options(const std::string& local, const std::string& remote) const {
        return DifftoolOptions::make({repo, 42, "main", std::nullopt, "/dev/null", local, remote, remote}).value();
    }
    std::string repo = scratch.makeDirectory("repo");
    std::string inside = scratch.writeFile("repo/a.txt", "work tree\n");
    std::string outside = scratch.writeFile("git-blob/a.txt", "old\n");
};

}  // namespace

// File arguments from file URLs, absolute and relative texts; the
// repository absolute, link-free, and the current directory when absent.
TEST(DifftoolOptionsConstruction, FileArgumentsAndTheRepository) {
    TemporaryDirectory cwd;
    ScopedCurrentDirectory in(cwd.path());
    struct {
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
    for (const auto& c : cases) EXPECT_EQ(normalizeFileArgument(c.text).value(), c.path) << c.text;

    auto real = cwd.makeDirectory("real/repo");
    cwd.makeLink("link", "real");
    ScopedVariable home("HOME", cwd.path());
    auto repoOf = [](std::optional<std::string> repo) { return DifftoolOptions::make({.repo = repo}).value().repo; };
    EXPECT_EQ(repoOf("link/repo/"), real);
    EXPECT_EQ(repoOf("~/link/./repo"), real);
    EXPECT_EQ(repoOf(std::nullopt), cwd.path());
    EXPECT_EQ(repoOf("missing/../gone"), cwd / "gone");
}

TEST_F(DifftoolSession, FilesInsideStayAndFilesOutsideAreCopiedIntoTheSessionDirectory) {
    auto o = options(outside, inside);
    auto directory = ensureSessionDirectory(o).value();
    scratch.makeLink("into-repo", "repo");
    for (const auto& path : {inside, repo, scratch / "into-repo/a.txt", std::string("/dev/null"), std::string()})
        EXPECT_EQ(preserveFile(path, o, directory).value(), path);

    // A sibling whose name merely begins with the repository's is outside too.
    auto preserved = preserveFile(scratch.writeFile("repo-old/b.txt", "sibling\n"), o, directory).value();
    // The session directory, the file's name, "-" and a UUID.
    EXPECT_THAT(preserved, MatchesRegex("^" + temporary + "//" + sessionKey(o) +
                                        "/b.txt-[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$"));
    EXPECT_EQ(readFile(preserved), "sibling\n");

    // A repository inside git's temporary directory (a scratch repository
    // in /tmp) keeps its files where they are.
    ScopedVariable above("TMPDIR", scratch.path());
    EXPECT_EQ(preserveFile(inside, o, directory).value(), inside);
}

// A failure after some copies were made leaves none of them behind: a
// second file of a compared directory that cannot be copied, or a record
// that cannot be written. Nothing is recorded or announced.
TEST_F(DifftoolSession, AFileThatCannotBeCopiedIsAnErrorAndNothingIsRecorded) {
    auto missing = preserveFile(scratch / "gone/a.txt", options(inside, inside), scratch.path());
    ASSERT_FALSE(missing);
    EXPECT_THAT(missing.error().description, ::testing::HasSubstr(scratch / "gone/a.txt"));
    scratch.writeFile("left/a.txt", "a\n");
    scratch.makeLink("left/b.txt", "missing");
    auto compared = DifftoolOptions::make({repo, 42, "main", std::nullopt, "", scratch / "left",
                                           scratch.makeDirectory("right"), ""})
                        .value();
    scratch.makeDirectory("T/" + sessionKey(compared) + "/.varnel-difftool/taken");
    auto silent = [](std::string_view line) { ADD_FAILURE() << line; };
    for (const auto& failing : {compared, options(outside, inside)}) {
        EXPECT_FALSE(recordDifftoolRun(failing, silent));
        EXPECT_EQ(entriesOf(sessionDirectory(failing)), std::set<std::string>{".varnel-difftool"});
    }
}

// The record keeps its identity; the same pair twice is kept twice.
TEST_F(DifftoolSession, AddingKeepsTheIdentityAndEveryPair) {
    auto first = options(outside, inside);
    auto session = makeSession(first).value();
    auto other = DifftoolOptions::make({repo, 7, "dev", "x", inside, inside, inside, inside}).value();
    auto grown = adding(*adding(session, other), other).value();
    EXPECT_EQ(static_cast<const DiffToolSession&>(grown), static_cast<const DiffToolSession&>(first));
    EXPECT_EQ(grown.entries, (std::vector<DiffToolMetaData::Entry>{session.entries.at(0),
                                                                   {inside, inside, inside, inside},
                                                                   {inside, inside, inside, inside}}));
}

// A record another writer laid out is read and rewritten as this program
// writes records; from then on it is extended as text, to the same bytes.
TEST_F(DifftoolSession, ARecordIsExtendedToTheTextItsRecordEncodesTo) {
    auto o = options(inside, inside);
    scratch.writeFile("T/" + sessionKey(o) + "/.varnel-difftool",
                      R"( {"revspecA": "main", "pid": 42, "repo": ")" + repo +
                          R"(", "entries": [ {"base": "\/b", "remote": "/r", "local": "/l", "merged": "/m"} ] } )");
    std::filesystem::permissions(sessionDirectory(o), std::filesystem::perms::owner_all);
    DiffToolMetaData expected;
    static_cast<DiffToolSession&>(expected) = o;
    expected.entries = {{"/b", "/l", "/r", "/m"}};
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(recordDifftoolRun(o, [](std::string_view) {}));
        expected.entries.push_back({"/dev/null", inside, inside, inside});
        EXPECT_EQ(readFile(sessionDirectory(o) + "/.varnel-difftool"), *expected.encode()) << "run " << run;
    }
}

// Each entry once, its first occurrence, entries equal by canonical
// equivalence counting as the same; less what was seen.
TEST(NewOptions, FirstOccurrencesLessWhatWasSeen) {
    DiffToolMetaData::Entry seen{"/b", "/l", "/r", "/m"}, composed{"/caf\xC3\xA9", "/l2", "/r2", "/m2"};
    DiffToolMetaData record;
    static_cast<DiffToolSession&>(record) = {"/r", 42, "main", std::nullopt};
    record.entries = {seen, composed, seen, {"/cafe\xCC\x81", "/l2", "/r2", "/m2"}};
    auto options = [](const DiffToolMetaData::Entry& e) {
        return DifftoolOptions::make({"/r", 42, "main", std::nullopt, e.base, e.local, e.remote, e.merged}).value();
    };
    EXPECT_EQ(newOptions(record, std::nullopt).value(), (std::vector{options(seen), options(composed)}));
    DiffToolMetaData previous = record;
    previous.entries = {seen};
    EXPECT_EQ(newOptions(record, previous).value(), std::vector{options(composed)});
}
