#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileSystem.hpp"
#include "shared/MergeToolMetaData.hpp"
#include "tests/shared/HandOffFixture.hpp"

using VarnShared::MergeToolMetaData;
using VarnShared::MergeToolStatusWatcher;
using namespace std::chrono_literals;

namespace {

class StatusWatcherTest : public HandOffTest {
protected:
    void SetUp() override {
        auto created = MergeToolMetaData::create("/r", "/r/a.c");
        ASSERT_TRUE(created) << created.error().description;
        record = *created;
    }

    /// Every wait in these tests ends after a short deadline.
    static std::optional<std::int32_t> waitBriefly(MergeToolStatusWatcher& watcher) {
        return watcher.waitForStatus(MergeToolStatusWatcher::Clock::now() + 200ms);
    }

    /// Changes the directory's entries without touching the status file.
    void nudge() { ASSERT_TRUE(platform::writeFileNoFollow(record.path + "/nudge-" + std::to_string(nudges++), "")); }

    MergeToolMetaData record;
    int nudges = 0;
};

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
    auto watcher = record.makeStatusWatcher();
    ASSERT_TRUE(watcher.isWatching());
    EXPECT_EQ(watcher.statusPath(), record.path + "/status");
    ASSERT_TRUE(record.writeStatus(MergeToolMetaData::Result::ok));
    EXPECT_EQ(waitBriefly(watcher), 0);
    EXPECT_FALSE(platform::fileExists(record.path));
}

// The watch goes on past a status that is no number, until one that is.
TEST_F(StatusWatcherTest, TextThatIsNoIntegerIsIgnoredUntilAValidStatusArrives) {
    auto watcher = record.makeStatusWatcher();
    ASSERT_TRUE(platform::writeFileAtomically(record.statusPath(), "-1\n"));
    EXPECT_FALSE(waitBriefly(watcher));
    EXPECT_TRUE(MergeToolMetaData::metadataExists(record.path));
    ASSERT_TRUE(record.writeStatus(MergeToolMetaData::Result::error));
    EXPECT_EQ(waitBriefly(watcher), -1);
}

TEST_F(StatusWatcherTest, AFileFilledInPlaceWaitsForTheNextChangeOfTheDirectory) {
    auto watcher = record.makeStatusWatcher();
    ASSERT_TRUE(platform::writeFileNoFollow(record.statusPath(), ""));
    EXPECT_FALSE(waitBriefly(watcher));
    ASSERT_TRUE(platform::writeFileNoFollow(record.statusPath(), "0"));
    EXPECT_FALSE(waitBriefly(watcher));
    nudge();
    EXPECT_EQ(waitBriefly(watcher), 0);
}

TEST_F(StatusWatcherTest, AStatusPresentBeforeWatchingIsReadAtTheNextChange) {
    ASSERT_TRUE(record.writeStatus(MergeToolMetaData::Result::didNotResolve));
    auto watcher = record.makeStatusWatcher();
    EXPECT_FALSE(waitBriefly(watcher));
    EXPECT_FALSE(watcher.handleEvents());
    EXPECT_TRUE(platform::fileExists(record.path));
    nudge();
    EXPECT_EQ(watcher.handleEvents(), -3);
}

TEST_F(StatusWatcherTest, AWatcherOfAMissingDirectoryNeverReports) {
    MergeToolMetaData gone{"/r", "/r/a.c", record.path + "-missing"};
    auto watcher = gone.makeStatusWatcher();
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_FALSE(waitBriefly(watcher));
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
