#include "cli/LocateApplication.hpp"

#include <gtest/gtest.h>

#include "cli/VerboseLog.hpp"
#include "platform/ProcessInfo.hpp"
#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using namespace varn;
using testsupport::ScopedVariable;
using testsupport::standardOutputOf;
using List = std::vector<std::string>;

namespace {

class ApplicationLocation : public ::testing::Test {
protected:
    void TearDown() override { platform::recordProcessArguments({}); }
    testsupport::TemporaryDirectory tmp;
    ScopedVariable verbose{"VARNEL_VERBOSE", std::nullopt};
    ScopedVariable home{"VARNEL_HOME", std::nullopt};
};

}  // namespace

TEST_F(ApplicationLocation, VarnelHomeIsAnnouncedAndUsedAsItIs) {
    for (std::string value : {"", "not an application"}) {
        ScopedVariable set("VARNEL_HOME", value);
        List arguments;
        auto printed = standardOutputOf([&] { arguments = applicationArguments(); });
        EXPECT_EQ(printed, "Using 'VARNEL_HOME' environment variable: " + value + "\n");
        EXPECT_EQ(arguments, (List{"-a", value}));
    }
}

TEST_F(ApplicationLocation, TheBundleHoldingTheLinkedTool) {
    ScopedVariable on("VARNEL_VERBOSE", "1");
    struct Case {
        std::string destination;
        List arguments;
    } cases[] = {
        {tmp / "Varnel.app/Contents/Resources/varn", {"-a", tmp / "Varnel.app"}},
        // A relative destination is used as it is.
        {"Varnel.app/Contents/Resources/varn", {"-a", "Varnel.app"}},
        {tmp / "Other.app/Contents/MacOS/varn", {"-b", bundleIdentifier}},
        {tmp / "varnel.app/Contents/Resources/varn", {"-b", bundleIdentifier}},
        {tmp / "Varnel.app/Contents/varn", {"-b", bundleIdentifier}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto link = tmp.makeLink("bin" + std::to_string(i) + "/varn", cases[i].destination);
        platform::recordProcessArguments({link, "open"});
        List arguments;
        auto printed = standardOutputOf([&] { arguments = applicationArguments(); });
        EXPECT_EQ(arguments, cases[i].arguments) << cases[i].destination;
        EXPECT_EQ(printed, "resolvedPath: " + cases[i].destination + "\n");
    }
}

TEST_F(ApplicationLocation, WithoutALinkTheBundleIdentifier) {
    ScopedVariable on("VARNEL_VERBOSE", "yes");
    for (const List& recorded : {List{tmp.writeFile("varn", "", true)}, List{}, List{tmp / "missing"}}) {
        platform::recordProcessArguments(recorded);
        List arguments;
        EXPECT_EQ(standardOutputOf([&] { arguments = applicationArguments(); }), "");
        EXPECT_EQ(arguments, (List{"-b", "com.varnel.Varnel"}));
    }
}

TEST(VerboseLog, OnlyForANonEmptyValue) {
    {
        ScopedVariable empty("VARNEL_VERBOSE", "");
        EXPECT_EQ(standardOutputOf([] { logVerbose("Finished"); }), "");
    }
    ScopedVariable zero("VARNEL_VERBOSE", "0");
    EXPECT_EQ(standardOutputOf([] { logVerbose("Lines:", 3, std::string("x")); }), "Lines: 3 x\n");
}
