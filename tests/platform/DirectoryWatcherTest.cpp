#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "platform/DirectoryWatcher.hpp"
#include "platform/FileSystem.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using platform::DirectoryWatcher;
using platform::HeldDirectory;
using testsupport::TemporaryDirectory;
using Change = DirectoryWatcher::Change;
using namespace std::chrono_literals;

namespace {

Change waitBriefly(DirectoryWatcher& watcher) { return watcher.waitForChange(DirectoryWatcher::Clock::now() + 200ms); }

class DirectoryWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(held) << held.error().description;
        ASSERT_TRUE(watcher.watch(*held));
    }

    TemporaryDirectory scratch;
    std::string watched = scratch / "watched";
    platform::Result<HeldDirectory> held = HeldDirectory::create(watched);
    DirectoryWatcher watcher;
};

}  // namespace

TEST_F(DirectoryWatcherTest, EntryChangesAndAMoveOfTheDirectoryAreReported) {
    ASSERT_TRUE(platform::writeFileNoFollow(watched + "/created", ""));
    EXPECT_EQ(waitBriefly(watcher), Change::changed);

    TemporaryDirectory elsewhere;
    ASSERT_TRUE(platform::writeFileNoFollow(elsewhere / "moved", "x"));
    ASSERT_EQ(::rename((elsewhere / "moved").c_str(), (watched + "/moved").c_str()), 0);
    EXPECT_EQ(waitBriefly(watcher), Change::changed);

    ASSERT_EQ(::rename((watched + "/moved").c_str(), (elsewhere / "back").c_str()), 0);
    EXPECT_EQ(waitBriefly(watcher), Change::changed);

    ASSERT_TRUE(platform::removeRecursively(watched + "/created"));
    EXPECT_EQ(waitBriefly(watcher), Change::changed);
    EXPECT_EQ(waitBriefly(watcher), Change::none);


    ASSERT_EQ(::rename(watched.c_str(), (scratch / "renamed").c_str()), 0);
    EXPECT_EQ(waitBriefly(watcher), Change::changed);
}

// What is watched is the directory created, even when its path names another
// by the time the watch starts.
TEST_F(DirectoryWatcherTest, TheHeldDirectoryIsWatchedNotItsPath) {
    watcher.close();
    ASSERT_EQ(::rename(watched.c_str(), (scratch / "away").c_str()), 0);
    ASSERT_TRUE(platform::createDirectoryWithParents(watched));
    ASSERT_TRUE(watcher.watch(*held));
    ASSERT_TRUE(platform::writeFileNoFollow(watched + "/impostor", ""));
    EXPECT_EQ(waitBriefly(watcher), Change::none);
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "away/real", ""));
    EXPECT_EQ(waitBriefly(watcher), Change::changed);
}

TEST_F(DirectoryWatcherTest, TakeChangesDoesNotWait) {
    EXPECT_EQ(watcher.takeChanges(), Change::none);
    ASSERT_TRUE(platform::writeFileNoFollow(watched + "/file", ""));
    EXPECT_EQ(watcher.takeChanges(), Change::changed);
    EXPECT_EQ(watcher.takeChanges(), Change::none);
}

TEST_F(DirectoryWatcherTest, MovingAndClosingReleaseTheDescriptorAndAWaitWithoutAWatchSleeps) {
    int fd = watcher.descriptor();
    DirectoryWatcher second = std::move(watcher);
    EXPECT_EQ(second.descriptor(), fd);
    EXPECT_FALSE(watcher.isWatching());
    second.close();
    EXPECT_FALSE(second.isWatching());
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);

    auto deadline = DirectoryWatcher::Clock::now() + 50ms;
    EXPECT_EQ(second.waitForChange(deadline), Change::none);
    EXPECT_GE(DirectoryWatcher::Clock::now(), deadline);
}
