// T where TMPDIR does not name it, and the directories a hand-off may use.
// What a TMPDIR the tool refuses looks like is checked end to end.

#include "platform/TemporaryDirectory.hpp"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/FileSystem.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using testsupport::TemporaryDirectory;

TEST(TemporaryDirectory, WithoutTmpdirAPrivateDirectoryOfTheUsersIsMadeOnce) {
    TemporaryDirectory scratch;
    auto own = scratch / "varnel-" + std::to_string(::geteuid()) + "/";
    EXPECT_EQ(platform::temporaryDirectoryPath({"", scratch.path()}), own);
    auto oldMask = ::umask(022);
    auto ensured = platform::ensureTemporaryDirectory({std::nullopt, scratch.path()});
    ::umask(oldMask);
    ASSERT_TRUE(ensured) << ensured.error().description;
    EXPECT_EQ(*ensured, own);
    struct stat s;
    ASSERT_EQ(::lstat(ensured->c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 07777, 0700u);
    EXPECT_TRUE(platform::ensureTemporaryDirectory({std::nullopt, scratch.path()}));
    // A TMPDIR that names nothing is not made.
    EXPECT_FALSE(platform::ensureTemporaryDirectory({scratch / "missing", "/tmp"}));
    EXPECT_FALSE(platform::fileExists(scratch / "missing"));
    // The platform's own directory outweighs TMPDIR, is taken as returned
    // and is not made either.
    EXPECT_EQ(platform::temporaryDirectoryPath({scratch.path(), "/tmp", own + "T"}), own + "T");
    EXPECT_FALSE(platform::ensureTemporaryDirectory({std::nullopt, scratch.path(), own + "T/"}));
    EXPECT_FALSE(platform::fileExists(own + "T"));
}

// setresuid: not on macOS.
#if !defined(__APPLE__)

// Another user's TMPDIR=/tmp must work: a root-owned sticky directory is a
// safe parent, while someone else's sticky directory is not.
TEST(TemporaryDirectory, SharedStickyTmpIsAcceptedForAnyUser) {
    if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
    TemporaryDirectory scratch;
    std::string sticky = scratch.makeDirectory("sticky");
    ASSERT_EQ(::chmod(sticky.c_str(), 01777), 0);
    ASSERT_EQ(::chown(sticky.c_str(), 65534, 65534), 0);
    pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(1, 1, 1) != 0) ::_exit(10);
        bool tmp = bool(platform::ensureTemporaryDirectory({"/tmp", "/tmp"}));
        ::_exit(tmp && !platform::ensureTemporaryDirectory({sticky, "/tmp"}) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

#endif

// A session directory is the user's alone: not a link, not open to others.
TEST(CheckOwnedDirectory, AcceptsOnlyTheUsersOwnPrivateDirectory) {
    TemporaryDirectory scratch;
    std::string real = scratch.makeDirectory("real", 0700);
    EXPECT_TRUE(platform::checkOwnedDirectory(real + "/", "session directory"));
    scratch.makeLink("link", real);
    EXPECT_EQ(platform::checkOwnedDirectory(scratch / "link/", "session directory").error().description,
              "Refusing to use the session directory " + scratch / "link/" + ": it is a symbolic link");
    ASSERT_EQ(::chmod(real.c_str(), 0750), 0);
    EXPECT_EQ(platform::checkOwnedDirectory(real, "session directory").error().description,
              "Refusing to use the session directory " + real + ": other users have access to it (mode 0750)");
}
