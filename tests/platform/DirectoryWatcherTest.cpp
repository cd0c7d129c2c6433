#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdio.h>

#include "platform/DirectoryWatcher.hpp"
#include "platform/FileSystem.hpp"
#include "tests/platform/TemporaryDirectory.hpp"

using platform::DirectoryWatcher;
using testsupport::TemporaryDirectory;
using namespace std::chrono_literals;

namespace {

DirectoryWatcher::Wait waitBriefly(DirectoryWatcher& watcher) {
    return watcher.waitForChange(DirectoryWatcher::Clock::now() + 200ms);
}

class DirectoryWatcherTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(watcher.watch(scratch.path())); }

    TemporaryDirectory scratch;
    DirectoryWatcher watcher;
};

}  // namespace

TEST_F(DirectoryWatcherTest, EntryChangesAreReported) {
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "created", ""));
    EXPECT_EQ(waitBriefly(watcher), DirectoryWatcher::Wait::changed);

    TemporaryDirectory elsewhere;
    ASSERT_TRUE(platform::writeFileNoFollow(elsewhere / "moved", "x"));
    ASSERT_EQ(::rename((elsewhere / "moved").c_str(), (scratch / "moved").c_str()), 0);
    EXPECT_EQ(waitBriefly(watcher), DirectoryWatcher::Wait::changed);

    ASSERT_EQ(::rename((scratch / "moved").c_str(), (elsewhere / "back").c_str()), 0);
    EXPECT_EQ(waitBriefly(watcher), DirectoryWatcher::Wait::changed);

    ASSERT_TRUE(platform::removeRecursively(scratch / "created"));
    EXPECT_EQ(waitBriefly(watcher), DirectoryWatcher::Wait::changed);
    EXPECT_EQ(waitBriefly(watcher), DirectoryWatcher::Wait::timedOut);
}

TEST_F(DirectoryWatcherTest, TakeChangesDoesNotWait) {
    EXPECT_FALSE(watcher.takeChanges());
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "file", ""));
    EXPECT_TRUE(watcher.takeChanges());
    EXPECT_FALSE(watcher.takeChanges());
}

TEST(DirectoryWatcher, UnwatchableDirectoryIsAnErrorAndWaitsSleepToTheDeadline) {
    TemporaryDirectory scratch;
    DirectoryWatcher watcher;
    auto watched = watcher.watch(scratch / "missing");
    ASSERT_FALSE(watched);
    EXPECT_NE(watched.error().description.find(scratch / "missing"), std::string::npos);
    EXPECT_FALSE(watcher.isWatching());
    auto deadline = DirectoryWatcher::Clock::now() + 50ms;
    EXPECT_EQ(watcher.waitForChange(deadline), DirectoryWatcher::Wait::timedOut);
    EXPECT_GE(DirectoryWatcher::Clock::now(), deadline);
}

TEST(DirectoryWatcher, MovingAndClosingReleaseTheDescriptor) {
    TemporaryDirectory scratch;
    DirectoryWatcher first;
    ASSERT_TRUE(first.watch(scratch.path()));
    int fd = first.descriptor();
    DirectoryWatcher second = std::move(first);
    EXPECT_EQ(second.descriptor(), fd);
    EXPECT_FALSE(first.isWatching());
    second.close();
    EXPECT_FALSE(second.isWatching());
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
}
