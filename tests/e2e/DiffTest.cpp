// The diff command through the real tool and launcher: the application is a
// script (VARNEL_HOME) that records the link it is handed.

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"

using namespace e2e;

namespace {

class Diff : public ::testing::Test {
protected:
    EnvironmentChanges environment() const {
        return {{"VARNEL_HOME", application}, {"VARNEL_VERBOSE", std::nullopt}, {"COLUMNS", "80"}};
    }

    testsupport::TemporaryDirectory tmp;
    std::string record = tmp / "handed";
    std::string application = tmp.writeFile("app", recordingScript(record), true);
    std::string root = tmp.makeDirectory("repo/.git").substr(0, tmp.path().size() + 5);
    std::string subdirectory = tmp.makeDirectory("repo/sub");
    std::string announced = "Using 'VARNEL_HOME' environment variable: " + application + "\n";
};

}  // namespace

// A directory given with --repo need not hold a repository: it is sent as
// it is, links resolved; without one the current directory's work tree is.
TEST_F(Diff, HandsALinkForTheDirectoryWithTheItemsInOrder) {
    auto plain = tmp.makeDirectory("plain");
    tmp.makeLink("through", plain);
    struct Case {
        std::vector<std::string> arguments;
        std::string link;
    } cases[] = {
        {{"diff", "main", "dev", "a.txt", "b c.txt"},
         subdirectory + "?revspecA=main&revspecB=dev&path_0=a.txt&path_1=b%20c.txt"},
        {{"diff", "-r", "..", "HEAD~1"}, root + "?revspecA=HEAD~1&revspecB"},
        {{"diff", "--repo", tmp / "through", "v1"}, plain + "?revspecA=v1&revspecB"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(record);
        auto ran = run(varnProgram, c.arguments, subdirectory, environment());
        EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
        EXPECT_EQ(ran.standardOutput, announced);
        EXPECT_EQ(awaitFile(record), "https://open.varnel.app/diff/" + c.link + "\n");
    }
}

TEST_F(Diff, EndsWithTheLaunchersStatus) {
    auto ran = run(varnProgram, {"diff", "main"}, subdirectory, {{"VARNEL_HOME", tmp / "missing.app"}});
    EXPECT_EQ(ran.terminationStatus, 1);
    EXPECT_EQ(ran.standardOutput, "Using 'VARNEL_HOME' environment variable: " + tmp / "missing.app" + "\n");
    EXPECT_NE(ran.standardError, "");
    EXPECT_FALSE(std::filesystem::exists(record));
}

TEST_F(Diff, TheStandInApplicationReadsTheLinkBack) {
    auto log = tmp / "log";
    auto ran = run(varnProgram, {"diff", "main", "a b.txt", "c%.txt"}, subdirectory,
                   {{"VARNEL_HOME", binaryDirectory + "/varnel-stub"}, {"VARNEL_STUB_LOG", log}});
    EXPECT_EQ(ran.terminationStatus, 0) << ran.standardError;
    auto line = awaitFile(log);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->substr(0, 5), "diff\t");
    EXPECT_NE(line->find("\trepo=" + subdirectory + " revspecA=main revspecB=a b.txt paths=c%.txt\n"),
              std::string::npos)
        << *line;
}
