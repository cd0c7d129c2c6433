#include <gtest/gtest.h>

#include "ArgumentParser/CommandParser.hpp"
#include "VarnTree.hpp"

using namespace varntree;

TEST(Smoke, ParsesDiff) {
    auto r = parseAsRoot(root(), {"diff", "-r", "x", "main", "dev", "a", "b"});
    ASSERT_TRUE(r);
    auto d = dynamic_cast<Diff*>(r->get());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->repo, "x");
    EXPECT_EQ(d->revspecA, "main");
    EXPECT_EQ(d->revspecB, "dev");
    EXPECT_EQ(d->paths, (std::vector<std::string>{"a", "b"}));
}

TEST(Smoke, DefaultSubcommand) {
    auto r = parseAsRoot(root(), {"some/path"});
    ASSERT_TRUE(r);
    auto d = dynamic_cast<DefaultCommand*>(r->get());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->repo, "some/path");
}
