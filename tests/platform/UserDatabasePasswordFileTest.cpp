#include <gtest/gtest.h>

#include "platform/UserDatabase.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using namespace platform;

// Built where the database is read without the C library
// (VARN_USER_DATABASE=password-file). The password file first; a user it
// lacks is asked of getent, whose entry counts only when it is the user
// asked about (getent takes a number for a user identifier).
TEST(UserDatabase, ReadsThePasswordFileThenAsksGetent) {
    testsupport::TemporaryDirectory tmp;
    UserDatabase database{tmp.writeFile("passwd",
                                        "#ghost:x:7:7::/commented:/bin/sh\n"
                                        "alice:x:1001:1001:Alice A:/home/alice:/bin/bash\n"
                                        "homeless:x:1002:1002:::/bin/sh\n"
                                        "short:x:1003:1003::/home/short\n"),
                          tmp.writeFile("getent",
                                        "#!/bin/sh\n"
                                        "[ \"$1 $2\" = 'passwd --' ] || exit 1\n"
                                        "case $3 in\n"
                                        "  carol|1004) echo 'carol:x:1004:1004::/net/carol:/bin/sh' ;;\n"
                                        "  7) echo 'seven:x:7:7::/net/seven:/bin/sh' ;;\n"
                                        "  *) exit 2 ;;\n"
                                        "esac\n",
                                        true)};
    struct {
        const char* name;
        const char* home;
    } names[] = {
        {"alice", "/home/alice"}, {"carol", "/net/carol"}, {"homeless", "none"}, {"short", "none"}, {"7", "none"},
    };
    for (auto [name, home] : names) EXPECT_EQ(homeDirectoryOfUser(name, database).value_or("none"), home) << name;
    struct {
        uid_t uid;
        const char* home;
    } uids[] = {{1001, "/home/alice"}, {1004, "/net/carol"}, {7, "/net/seven"}};
    for (auto [uid, home] : uids) EXPECT_EQ(homeDirectoryOfUser(uid, database).value_or("none"), home) << uid;
}
