// The argument area a BSD kernel hands out for a process, read apart from
// the sysctl that fills it.

#include "platform/ProcessArgumentArea.hpp"

#include <cstring>

#include <gtest/gtest.h>

using platform::argumentsInProcessArgumentArea;
using Arguments = std::vector<std::string>;

namespace {

/// An area of `count` arguments and what follows the count.
std::string area(int count, std::string_view rest) {
    std::string text(sizeof count, '\0');
    std::memcpy(text.data(), &count, sizeof count);
    return text.append(rest);
}

}  // namespace

// The path and its padding are not arguments, nor is the environment after
// them; an empty argument is one.
TEST(ProcessArgumentArea, TakesCountArgumentsAfterThePathAndItsPadding) {
    using namespace std::string_view_literals;
    EXPECT_EQ(argumentsInProcessArgumentArea(area(4, "/usr/bin/git\0\0\0\0git\0mergetool\0\0-y\0HOME=/h\0"sv)),
              (Arguments{"git", "mergetool", "", "-y"}));
    // Cut short: what is there.
    EXPECT_EQ(argumentsInProcessArgumentArea(area(3, "/bin/git\0git\0merge"sv)), (Arguments{"git", "merge"}));
    // None: an ending process, or an area without its path's end.
    EXPECT_EQ(argumentsInProcessArgumentArea(area(0, "/bin/git\0\0HOME=/h\0"sv)), std::nullopt);
    EXPECT_EQ(argumentsInProcessArgumentArea(area(2, "/bin/git"sv)), std::nullopt);
    EXPECT_EQ(argumentsInProcessArgumentArea("\1\0"sv), std::nullopt);
}
