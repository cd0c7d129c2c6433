// The wait for a merge's verdict where a whole run cannot arrange it: a
// status written in place or before the watch, and hand-off directories
// replaced by another user. The verdict of a plain answer, a status that is
// no number and a directory removed or renamed are checked end to end; the
// status file's grammar by its fuzz target, against the standard library.

#include "shared/MergeToolStatusWatcher.hpp"

#include <stdio.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "platform/FileSystem.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "tests/support/HandOffTest.hpp"

using VarnShared::MergeToolMetaData;
using VarnShared::MergeToolStatusWatcher;
using namespace std::chrono_literals;
using namespace testsupport;

namespace {

class StatusWatcherTest : public HandOffTest {
protected:
    void SetUp() override {
        auto created = MergeToolMetaData::createHeld("/r", "/r/a.c");
        ASSERT_TRUE(created) << created.error().description;
        record = created->record;
        watcher.emplace(std::move(created->directory));
    }

    /// The watcher, watching from now on.
    MergeToolStatusWatcher& watching() {
        EXPECT_TRUE(watcher->startWatching());
        return *watcher;
    }

    /// A verdict that arrived within a short wait: nothing else is one.
    std::optional<std::int32_t> verdict() {
        auto outcome = watcher->waitForStatus(MergeToolStatusWatcher::Clock::now() + 200ms);
        return outcome ? *outcome : std::nullopt;
    }

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
    watching();
    EXPECT_EQ(verdict(), std::nullopt);
    EXPECT_EQ(watcher->handleEvents().value(), std::nullopt);
    nudge();
    EXPECT_EQ(watcher->handleEvents().value(), -3);

    SetUp();
    watching();
    std::ofstream status(record.statusPath());
    EXPECT_EQ(verdict(), std::nullopt);
    status << "0" << std::flush;
    EXPECT_EQ(verdict(), std::nullopt);
    nudge();
    EXPECT_EQ(verdict(), 0);
}

// A verdict counts only in the directory created, while its path still
// names it and it still holds its record: not in that directory being
// removed or moved away, nor behind a link that took its name, however "0"
// it says. The wait ends in an error, and nothing but the hand-off's own
// files is removed.
TEST_F(StatusWatcherTest, ADirectoryRemovedMovedOrReplacedIsNeverBelieved) {
    auto forged = scratch.makeDirectory("forged", 0700);
    ASSERT_TRUE(platform::writeFileAtomically(forged + "/status", "0"));
    auto moved = scratch / "moved";
    struct {
        std::string name;
        std::function<void(const std::string&)> act;
    } cases[] = {
        {"being removed", [](const std::string& path) { std::remove((path + "/.varnel-mergetool").c_str()); }},
        {"moved away with a verdict in it",
         [&](const std::string& path) {
             ASSERT_EQ(::rename(path.c_str(), moved.c_str()), 0);
             ASSERT_TRUE(platform::writeFileAtomically(moved + "/status", "0"));
         }},
        {"replaced by a link",
         [&](const std::string& path) {
             ASSERT_EQ(::rename(path.c_str(), moved.c_str()), 0);
             ASSERT_EQ(::symlink(forged.c_str(), path.c_str()), 0);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        watching();
        c.act(record.path);
        auto outcome = watcher->waitForStatus(MergeToolStatusWatcher::Clock::now() + 200ms);
        ASSERT_FALSE(outcome);
        EXPECT_EQ(outcome.error().description,
                  "The hand-off directory " + record.path + " was removed or replaced before the application answered");
        EXPECT_EQ(entriesOf(forged), std::set<std::string>{"status"});
        (void)platform::removeRecursively(moved);
        (void)platform::removeRecursively(record.path);
    }
    // The application answers a hand-off that is gone without complaint.
    EXPECT_TRUE(record.writeStatus(MergeToolMetaData::Result::ok));
    EXPECT_FALSE(platform::fileExists(record.path));
}
