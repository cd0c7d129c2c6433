#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/FileSystem.hpp"
#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using testsupport::TemporaryDirectory;
using testsupport::entriesOf;

namespace {

std::string contentOf(const std::string& path) {
    auto read = platform::readFile(path);
    return read ? *read : "<unreadable>";
}

}  // namespace

TEST(CreateDirectoryWithParents, CreatesMissingParentsAcceptsExistingOnesAndNamesAFileInTheWay) {
    TemporaryDirectory scratch;
    EXPECT_TRUE(platform::createDirectoryWithParents(scratch / "a/b//c/"));
    EXPECT_TRUE(platform::isDirectory(scratch / "a/b/c"));
    EXPECT_TRUE(platform::createDirectoryWithParents(scratch / "a/b/c"));

    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "file", "x"));
    auto created = platform::createDirectoryWithParents(scratch / "file/sub");
    ASSERT_FALSE(created);
    EXPECT_NE(created.error().description.find(scratch / "file/sub"), std::string::npos);
}

TEST(WriteFileNoFollow, ReplacesLongerContentExactlyAndRefusesALink) {
    TemporaryDirectory scratch;
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "f", "a much longer earlier content"));
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "f", "new"));
    EXPECT_EQ(contentOf(scratch / "f"), "new");

    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "target", "original"));
    ASSERT_EQ(::symlink((scratch / "target").c_str(), (scratch / "link").c_str()), 0);
    auto written = platform::writeFileNoFollow(scratch / "link", "evil");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().description.find("symbolic link"), std::string::npos);
    EXPECT_EQ(contentOf(scratch / "target"), "original");
}

TEST(WriteFileAtomically, ReplacesContentOrALinkAndLeavesNoTemporaryFile) {
    TemporaryDirectory scratch;
    ASSERT_TRUE(platform::writeFileAtomically(scratch / "f", "first, and longer"));
    ASSERT_TRUE(platform::writeFileAtomically(scratch / "f", "second"));
    EXPECT_EQ(contentOf(scratch / "f"), "second");
    EXPECT_EQ(entriesOf(scratch.path()), std::set<std::string>{"f"});

    // A link at the name is replaced, not written through.
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "target", "original"));
    ASSERT_EQ(::symlink((scratch / "target").c_str(), (scratch / "link").c_str()), 0);
    ASSERT_TRUE(platform::writeFileAtomically(scratch / "link", "new"));
    EXPECT_FALSE(platform::isSymbolicLink(scratch / "link"));
    EXPECT_EQ(contentOf(scratch / "target"), "original");

    auto written = platform::writeFileAtomically(scratch / "missing/f", "x");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().description.find(scratch / "missing/f"), std::string::npos);
}

TEST(ReadFile, MissingFileIsAnErrorNamingThePath) {
    TemporaryDirectory scratch;
    auto read = platform::readFile(scratch / "missing");
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().code, ENOENT);
    EXPECT_NE(read.error().description.find(scratch / "missing"), std::string::npos);
}

TEST(CopyFile, CopiesContentToANewNameOnly) {
    TemporaryDirectory scratch;
    std::string big(200000, 'x');
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "from", big));
    ASSERT_TRUE(platform::copyFile(scratch / "from", scratch / "to"));
    EXPECT_EQ(contentOf(scratch / "to"), big);

    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "existing", "old"));
    ASSERT_EQ(::symlink((scratch / "existing").c_str(), (scratch / "link").c_str()), 0);
    EXPECT_FALSE(platform::copyFile(scratch / "from", scratch / "existing"));
    EXPECT_FALSE(platform::copyFile(scratch / "from", scratch / "link"));
    EXPECT_EQ(contentOf(scratch / "existing"), "old");
}

TEST(RemoveRecursively, RemovesATreeButNotWhatItsLinksPointTo) {
    TemporaryDirectory scratch;
    std::string outside = scratch.makeDirectory("outside");
    ASSERT_TRUE(platform::writeFileNoFollow(outside + "/keep", "k"));
    ASSERT_TRUE(platform::createDirectoryWithParents(scratch / "tree/a/b"));
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "tree/a/b/file", "f"));
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "tree/.hidden", "h"));
    ASSERT_EQ(::symlink(outside.c_str(), (scratch / "tree/a/link").c_str()), 0);

    ASSERT_TRUE(platform::removeRecursively(scratch / "tree"));
    EXPECT_FALSE(platform::fileExists(scratch / "tree"));
    EXPECT_EQ(contentOf(outside + "/keep"), "k");
    EXPECT_FALSE(platform::removeRecursively(scratch / "tree"));
}
