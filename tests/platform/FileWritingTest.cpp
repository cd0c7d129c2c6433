// The file changes behind session records and their copies, where a link
// or an earlier file could redirect or spoil them.

#include <gtest/gtest.h>

#include "platform/FileSystem.hpp"
#include "platform/HeldDirectory.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using testsupport::entriesOf;
using testsupport::readFile;
using testsupport::TemporaryDirectory;

// Writing replaces content or a link and leaves no temporary file; copying
// makes a new name only; removing a tree leaves what its links point to.
TEST(FileChanges, WriteCopyAndRemoveNeverGoThroughALink) {
    TemporaryDirectory scratch;
    ASSERT_TRUE(platform::writeFileAtomically(scratch / "f", "first, and longer"));
    ASSERT_TRUE(platform::writeFileAtomically(scratch / "f", "second"));
    EXPECT_EQ(readFile(scratch / "f"), "second");
    EXPECT_EQ(entriesOf(scratch.path()), std::set<std::string>{"f"});

    // A link at the name is replaced, not written through.
    scratch.makeLink("link", scratch.writeFile("target", "original"));
    ASSERT_TRUE(platform::writeFileAtomically(scratch / "link", "new"));
    EXPECT_FALSE(platform::isSymbolicLink(scratch / "link"));
    EXPECT_EQ(readFile(scratch / "target"), "original");
    // A directory there is refused and stays where it was.
    scratch.makeDirectory("dir/inside");
    EXPECT_FALSE(platform::writeFileAtomically(scratch / "dir", "new"));
    EXPECT_EQ(entriesOf(scratch.path()), (std::set<std::string>{"dir", "f", "link", "target"}));
    EXPECT_TRUE(platform::isDirectory(scratch / "dir/inside"));

    std::string big(200000, 'x');
    ASSERT_TRUE(platform::copyFile(scratch.writeFile("from", big), scratch / "to"));
    EXPECT_EQ(readFile(scratch / "to"), big);
    scratch.makeLink("old-link", scratch.writeFile("existing", "old"));
    EXPECT_FALSE(platform::copyFile(scratch / "from", scratch / "existing"));
    EXPECT_FALSE(platform::copyFile(scratch / "from", scratch / "old-link"));
    EXPECT_EQ(readFile(scratch / "existing"), "old");

    auto keep = scratch.writeFile("outside/keep", "k");
    scratch.writeFile("tree/a/b/file", "f");
    scratch.writeFile("tree/.hidden", "h");
    scratch.makeLink("tree/a/link", scratch / "outside");
    ASSERT_TRUE(platform::removeRecursively(scratch / "tree"));
    EXPECT_FALSE(platform::fileExists(scratch / "tree"));
    EXPECT_EQ(readFile(keep), "k");
    EXPECT_FALSE(platform::removeRecursively(scratch / "tree"));
}

// A held directory is emptied anew on every pass of its removal: an entry
// the application adds after a first pass (a late verdict) is found too,
// though the directory's descriptor was listed before.
TEST(FileChanges, AHeldDirectoryIsListedWholeOnEveryPass) {
    TemporaryDirectory scratch;
    auto held = platform::HeldDirectory::create(scratch / "handoff");
    ASSERT_TRUE(held) << held.error().description;
    scratch.writeFile("handoff/record", "r");
    ASSERT_TRUE(platform::removeContentsOf(held->descriptor(), scratch / "handoff"));
    scratch.writeFile("handoff/status", "0");
    EXPECT_TRUE(held->remove());
    EXPECT_TRUE(entriesOf(scratch.path()).empty());
}
