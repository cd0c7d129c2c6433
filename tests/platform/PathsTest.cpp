#include "platform/Paths.hpp"

#include <gtest/gtest.h>

#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using namespace platform;
using testsupport::ScopedCurrentDirectory;
using testsupport::ScopedVariable;
using testsupport::TemporaryDirectory;
using List = std::vector<std::string>;

TEST(Paths, StandardizingFoldsSeparatorsDotsAndTilde) {
    ScopedVariable home("HOME", "/home/someone");
    struct Case {
        const char* path;
        const char* standardized;
    } cases[] = {
        {"~", "/home/someone"},
        {"~/a//b/", "/home/someone/a/b"},
        {"~no-such-user-here/a", "~no-such-user-here/a"},
        {"a/~", "a/~"},
        {"/a//b/./c/", "/a/b/c"},
        {"//", "/"},
        {"/..", "/"},
        {"/a/../../b", "/b"},
        {"./", "."},
        {"a/..", "."},
        {"a/../../b", "../b"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(standardizingPath(c.path), c.standardized) << c.path;
}

// Resolving goes component by component, keeps what does not exist and
// stops in a loop. Visiting walks up the path's own parents, each resolved: a
// link's destination is left as a whole, never climbed.
TEST(Paths, ResolvingLinksAndVisitingResolvedAncestors) {
    TemporaryDirectory tmp;
    tmp.makeDirectory("real/sub");
    tmp.makeLink("absolute", tmp / "real");
    tmp.makeLink("relative", "real");
    tmp.makeLink("chain", "relative/sub");
    tmp.makeLink("real/sub/up", "../..");
    tmp.makeLink("nested/link", "../real");
    tmp.makeLink("dangling", tmp / "gone/away");

    EXPECT_EQ(resolvingSymlinksInPath(tmp / "absolute/sub"), tmp / "real/sub");
    EXPECT_EQ(resolvingSymlinksInPath(tmp / "chain"), tmp / "real/sub");
    EXPECT_EQ(resolvingSymlinksInPath(tmp / "nested/link/sub/"), tmp / "real/sub");
    EXPECT_EQ(resolvingSymlinksInPath(tmp / "absolute/sub/up/real"), tmp / "real");
    // ".." after a link leaves its destination, not the link's directory.
    EXPECT_EQ(resolvingSymlinksInPath(tmp / "chain/.."), tmp / "real");
    EXPECT_EQ(resolvingSymlinksInPath("/"), "/");
    EXPECT_EQ(resolvingSymlinksInPath(tmp / "real/missing/deeper"), tmp / "real/missing/deeper");
    EXPECT_EQ(resolvingSymlinksInPath(tmp / "dangling/file"), tmp / "gone/away/file");

    List expected = {tmp / "x", tmp.path(), tmp / "real/sub", tmp / "real"};
    for (auto above = tmp.path(); above != "/"; above = deletingLastPathComponent(above)) expected.push_back(above);
    expected.push_back("/");
    List visited;
    visitResolvedAncestors(tmp / "absolute/sub/up/x", [&](const std::string& path) {
        visited.push_back(path);
        return visited.size() < expected.size() - 1;
    });
    expected.pop_back();  // the visit before it asked to stop
    EXPECT_EQ(visited, expected);

    ScopedCurrentDirectory cwd(tmp.path());
    EXPECT_EQ(resolvingSymlinksInPath("relative/./sub/"), "relative/sub");  // relative paths stay unresolved

    // In a loop resolving stops.
    tmp.makeLink("a", "b");
    tmp.makeLink("b", "a");
    tmp.makeLink("self", "self/x");
    for (const char* start : {"a/file", "self"}) {
        auto resolved = resolvingSymlinksInPath(tmp / start);
        EXPECT_EQ(resolved.rfind(tmp.path() + "/", 0), 0u) << resolved;
    }
    EXPECT_EQ(lastPathComponent(resolvingSymlinksInPath(tmp / "a/file")), "file");
}
