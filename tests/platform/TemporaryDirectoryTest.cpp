#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileSystem.hpp"
#include "platform/TemporaryDirectory.hpp"
#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using platform::TemporaryDirectoryEnvironment;
using testsupport::TemporaryDirectory;

#if !defined(__APPLE__)

TEST(TemporaryDirectory, TmpdirGetsOneTrailingSlashAndUnsetOrEmptyFallsBackToThePerUserDirectory) {
    EXPECT_EQ(platform::temporaryDirectoryPath({"/some/dir/", "/tmp"}), "/some/dir/");
    EXPECT_EQ(platform::temporaryDirectoryPath({"", "/base"}), "/base/varnel-" + std::to_string(::geteuid()) + "/");
}

TEST(TemporaryDirectory, MissingFallbackIsCreatedPrivate) {
    TemporaryDirectory scratch;
    auto oldMask = ::umask(022);
    auto ensured = platform::ensureTemporaryDirectory({std::nullopt, scratch.path()});
    ::umask(oldMask);
    ASSERT_TRUE(ensured) << ensured.error().description;
    EXPECT_EQ(*ensured, scratch / "varnel-" + std::to_string(::geteuid()) + "/");
    struct stat s;
    ASSERT_EQ(::lstat(ensured->c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 07777, 0700u);
    // A second call finds it and is content.
    EXPECT_TRUE(platform::ensureTemporaryDirectory({std::nullopt, scratch.path()}));
}

// Another user's TMPDIR=/tmp must work: a root-owned sticky directory is a
// safe parent, while someone else's directory is not.
TEST(TemporaryDirectory, SharedStickyTmpIsAcceptedForAnyUser) {
    TemporaryDirectory scratch;
    std::string sticky = scratch.makeDirectory("sticky", 01777);
    ::chmod(sticky.c_str(), 01777);
    if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
    ::chown(sticky.c_str(), testsupport::nobodyUid, testsupport::nobodyGid);
    pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(testsupport::nobodyGid, testsupport::nobodyGid, testsupport::nobodyGid) != 0 ||
            ::setresuid(1, 1, 1) != 0)
            ::_exit(10);
        bool tmp = bool(platform::ensureTemporaryDirectory({"/tmp", "/tmp"}));
        bool foreign = bool(platform::ensureTemporaryDirectory({sticky, "/tmp"}));
        ::_exit(tmp && !foreign ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(TemporaryDirectory, MissingTmpdirIsNotCreated) {
    TemporaryDirectory scratch;
    EXPECT_FALSE(platform::ensureTemporaryDirectory({scratch / "missing", "/tmp"}));
    EXPECT_FALSE(platform::fileExists(scratch / "missing"));
}

#endif

TEST(CheckOwnedDirectory, AcceptsOnlyTheUsersOwnDirectory) {
    TemporaryDirectory scratch;
    EXPECT_TRUE(platform::checkOwnedDirectory(scratch.path(), "temporary directory"));
    EXPECT_TRUE(platform::checkOwnedDirectory(scratch.path() + "/", "temporary directory"));
    ASSERT_TRUE(platform::writeFileNoFollow(scratch / "file", ""));
    EXPECT_FALSE(platform::checkOwnedDirectory(scratch / "file", "session directory"));
    EXPECT_FALSE(platform::checkOwnedDirectory(scratch / "missing", "session directory"));

    // A link to a directory is refused even with a trailing slash.
    std::string real = scratch.makeDirectory("real");
    ASSERT_EQ(::symlink(real.c_str(), (scratch / "link").c_str()), 0);
    auto checked = platform::checkOwnedDirectory(scratch / "link/", "temporary directory");
    ASSERT_FALSE(checked);
    EXPECT_EQ(checked.error().description,
              "Refusing to use the temporary directory " + scratch / "link/" + ": it is a symbolic link");

    // Nor one that others may so much as look into.
    ASSERT_EQ(::chmod(real.c_str(), 0750), 0);
    checked = platform::checkOwnedDirectory(real, "session directory");
    ASSERT_FALSE(checked);
    EXPECT_EQ(checked.error().description,
              "Refusing to use the session directory " + real + ": other users have access to it (mode 0750)");
}
