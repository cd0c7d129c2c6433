// What the status watcher makes of the hand-off directory's changes where a
// whole run cannot arrange it: a status written in place or before the
// watch. The verdict of a plain answer, a status that is no number and a
// directory removed or renamed are checked end to end, a directory replaced
// while the tool waits by its wait (tests/cli/MergeHandOffTest.cpp); the
// status file's grammar by its fuzz target, against the standard library.

#include "shared/MergeToolStatusWatcher.hpp"

#include <fstream>

#include <gtest/gtest.h>

#include "platform/FileSystem.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "tests/support/HandOffTest.hpp"

using VarnShared::MergeToolMetaData;
using VarnShared::MergeToolStatusWatcher;

namespace {

class StatusWatcherTest : public testsupport::HandOffTest {
protected:
    void SetUp() override {
        auto created = MergeToolMetaData::createHeld("/r", "/r/a.c");
        ASSERT_TRUE(created) << created.error().description;
        record = created->record;
        watcher.emplace(std::move(created->directory));
    }

    void startWatching() { ASSERT_TRUE(watcher->startWatching()); }

    /// What the events so far bring: a change is pending as soon as the
    /// call that made it returns, so nothing else will be one.
    std::optional<std::int32_t> verdict() { return watcher->handleEvents().value(); }

    /// Changes the directory's entries without touching the status file.
    void nudge() { ASSERT_TRUE(platform::writeFileAtomically(record.path + "/nudge", "")); }

    MergeToolMetaData record;
    std::optional<MergeToolStatusWatcher> watcher;
};

}  // namespace

// Writing into a file changes no entry: a status filled in place, or there
// before the watch began, counts at the directory's next change.
TEST_F(StatusWatcherTest, AStatusNotMovedIntoPlaceIsReadAtTheNextChange) {
    ASSERT_TRUE(record.writeStatus(MergeToolMetaData::Result::didNotResolve));
    startWatching();
    EXPECT_EQ(verdict(), std::nullopt);
    nudge();
    EXPECT_EQ(verdict(), -3);

    SetUp();
    startWatching();
    std::ofstream status(record.statusPath());
    EXPECT_EQ(verdict(), std::nullopt);
    status << "0" << std::flush;
    EXPECT_EQ(verdict(), std::nullopt);
    nudge();
    EXPECT_EQ(verdict(), 0);
}
