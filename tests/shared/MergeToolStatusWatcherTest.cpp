#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "platform/FileSystem.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "shared/MergeToolStatusWatcher.hpp"
#include "tests/shared/HandOffFixture.hpp"

using VarnShared::MergeToolMetaData;
using VarnShared::MergeToolStatusWatcher;
using namespace std::chrono_literals;

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

    /// Every wait in these tests ends after a short deadline.
    static MergeToolStatusWatcher::Outcome waitBriefly(MergeToolStatusWatcher& watcher) {
        return watcher.waitForStatus(MergeToolStatusWatcher::Clock::now() + 200ms);
    }

    /// Changes the directory's entries without touching the status file.
    void nudge() { ASSERT_TRUE(platform::writeFileNoFollow(record.path + "/nudge-" + std::to_string(nudges++), "")); }

    MergeToolMetaData record;
    std::optional<MergeToolStatusWatcher> watcher;
    int nudges = 0;
};

/// A verdict that arrived: nothing else is one.
std::optional<std::int32_t> verdict(const MergeToolStatusWatcher::Outcome& outcome) {
    return outcome ? *outcome : std::nullopt;
}

}  // namespace

TEST(StatusText, ExactIntegerGrammar) {
    for (auto [text, value] : {std::pair{"-3", -3}, {"+12", 12}, {"-0", 0}, {"2147483647", 2147483647},
                               {"-2147483648", -2147483647 - 1}, {"000000000000000000001", 1}}) {
        EXPECT_EQ(MergeToolStatusWatcher::parseStatus(text), value) << text;
    }
    for (const char* text : {"", "+", "-", "+-1", "-1\n", " 1", "1 ", "1.0", "0x1", "2147483648", "-2147483649",
                             "99999999999999999999", "\xd9\xa3"}) {
        EXPECT_FALSE(MergeToolStatusWatcher::parseStatus(text)) << text;
    }
}

TEST_F(StatusWatcherTest, AnAtomicStatusIsTakenAtOnceAndTheDirectoryRemoved) {
    auto& watcher = watching();
    EXPECT_EQ(watcher.statusPath(), record.path + "/status");
    ASSERT_TRUE(record.writeStatus(MergeToolMetaData::Result::ok));
    EXPECT_EQ(verdict(waitBriefly(watcher)), 0);
    EXPECT_FALSE(platform::fileExists(record.path));
}

// The watch goes on past a status that is no number, until one that is.
TEST_F(StatusWatcherTest, TextThatIsNoIntegerIsIgnoredUntilAValidStatusArrives) {
    auto& watcher = watching();
    ASSERT_TRUE(platform::writeFileAtomically(record.statusPath(), "-1\n"));
    EXPECT_EQ(verdict(waitBriefly(watcher)), std::nullopt);
    EXPECT_TRUE(MergeToolMetaData::metadataExists(record.path));
    ASSERT_TRUE(record.writeStatus(MergeToolMetaData::Result::error));
    EXPECT_EQ(verdict(waitBriefly(watcher)), -1);
}

TEST_F(StatusWatcherTest, AFileFilledInPlaceWaitsForTheNextChangeOfTheDirectory) {
    auto& watcher = watching();
    ASSERT_TRUE(platform::writeFileNoFollow(record.statusPath(), ""));
    EXPECT_EQ(verdict(waitBriefly(watcher)), std::nullopt);
    ASSERT_TRUE(platform::writeFileNoFollow(record.statusPath(), "0"));
    EXPECT_EQ(verdict(waitBriefly(watcher)), std::nullopt);
    nudge();
    EXPECT_EQ(verdict(waitBriefly(watcher)), 0);
}

TEST_F(StatusWatcherTest, AStatusPresentBeforeWatchingIsReadAtTheNextChange) {
    ASSERT_TRUE(record.writeStatus(MergeToolMetaData::Result::didNotResolve));
    auto& watcher = watching();
    EXPECT_EQ(verdict(waitBriefly(watcher)), std::nullopt);
    EXPECT_EQ(verdict(watcher.handleEvents()), std::nullopt);
    EXPECT_TRUE(platform::fileExists(record.path));
    nudge();
    EXPECT_EQ(verdict(watcher.handleEvents()), -3);
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
    struct Case {
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
        auto& watcher = watching();
        c.act(record.path);
        auto outcome = waitBriefly(watcher);
        ASSERT_FALSE(outcome);
        EXPECT_EQ(outcome.error().description,
                  "The hand-off directory " + record.path + " was removed or replaced before the application answered");
        EXPECT_EQ(entriesOf(forged), std::set<std::string>{"status"});
        (void)platform::removeRecursively(moved);
        (void)platform::removeRecursively(record.path);
    }
}

TEST_F(StatusWatcherTest, WriteStatusIsSilentWhereItCannotWrite) {
    MergeToolMetaData gone{"/r", "/r/a.c", record.path + "-missing"};
    EXPECT_TRUE(gone.writeStatus(MergeToolMetaData::Result::ok));
    EXPECT_FALSE(platform::fileExists(gone.path));

    if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
    // Root may write anywhere, so the writer drops to "nobody" first; the
    // hand-off directory stays root's, mode 0755.
    ASSERT_EQ(::chmod(record.path.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(temporary.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(scratch.path().c_str(), 0755), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setresgid(testsupport::nobodyGid, testsupport::nobodyGid, testsupport::nobodyGid) != 0 ||
            ::setresuid(testsupport::nobodyUid, testsupport::nobodyUid, testsupport::nobodyUid) != 0)
            ::_exit(2);
        ::_exit(record.writeStatus(MergeToolMetaData::Result::ok) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(entriesOf(record.path), std::set<std::string>{".varnel-mergetool"});
}
