// The watch under a merge's wait, where the status watcher does not show
// it: what is watched, a look that never waits, and the descriptor's end.

#include "platform/DirectoryWatcher.hpp"

#include <fcntl.h>
#include <stdio.h>

#include <gtest/gtest.h>

#include "platform/FileSystem.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using platform::DirectoryWatcher;
using Change = DirectoryWatcher::Change;

namespace {

class DirectoryWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(held) << held.error().description;
        ASSERT_TRUE(watcher.watch(*held));
    }

    testsupport::TemporaryDirectory scratch;
    std::string watched = scratch / "watched";
    platform::Result<platform::HeldDirectory> held = platform::HeldDirectory::create(watched);
    DirectoryWatcher watcher;
};

}  // namespace

// A look never waits; moving and closing release the descriptor. What is
// watched is the directory created, even when its path names another by the
// time the watch starts.
TEST_F(DirectoryWatcherTest, TheHeldDirectoryIsWatchedNotItsPathAndTheDescriptorEnds) {
    EXPECT_EQ(watcher.takeChanges(), Change::none);
    ASSERT_TRUE(platform::writeFileAtomically(watched + "/file", ""));
    EXPECT_EQ(watcher.takeChanges(), Change::changed);
    EXPECT_EQ(watcher.takeChanges(), Change::none);

    int fd = watcher.descriptor();
    DirectoryWatcher second = std::move(watcher);
    EXPECT_EQ(second.descriptor(), fd);
    EXPECT_FALSE(watcher.isWatching());
    second.close();
    EXPECT_FALSE(second.isWatching());
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);

    ASSERT_EQ(::rename(watched.c_str(), (scratch / "away").c_str()), 0);
    ASSERT_TRUE(platform::createDirectoryWithParents(watched));
    ASSERT_TRUE(second.watch(*held));
    ASSERT_TRUE(platform::writeFileAtomically(watched + "/impostor", ""));
    EXPECT_EQ(second.takeChanges(), Change::none);
    ASSERT_TRUE(platform::writeFileAtomically(scratch / "away/real", ""));
    EXPECT_EQ(second.takeChanges(), Change::changed);
}
