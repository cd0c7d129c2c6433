// Which application a hand-off goes to when VARNEL_HOME does not say, and
// when the tool talks. VARNEL_HOME itself is checked end to end.

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
    ScopedVariable verbose{"VARNEL_VERBOSE", "1"};
    ScopedVariable home{"VARNEL_HOME", std::nullopt};
};

}  // namespace

// The tool lies in Varnel.app/Contents/Resources/ and is run through a link.
TEST_F(ApplicationLocation, TheBundleHoldingTheLinkedTool) {
    struct {
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
        platform::recordProcessArguments({tmp.makeLink("bin" + std::to_string(i) + "/varn", cases[i].destination),
                                          "open"});
        List arguments;
        EXPECT_EQ(standardOutputOf([&] { arguments = applicationArguments(); }),
                  "resolvedPath: " + cases[i].destination + "\n");
        EXPECT_EQ(arguments, cases[i].arguments) << cases[i].destination;
    }
    for (const List& recorded : {List{tmp.writeFile("varn", "", true)}, List{}, List{tmp / "missing"}}) {
        platform::recordProcessArguments(recorded);
        List arguments;
        EXPECT_EQ(standardOutputOf([&] { arguments = applicationArguments(); }), "");
        EXPECT_EQ(arguments, (List{"-b", "com.varnel.Varnel"}));
    }
}

TEST(VerboseLog, OnlyForANonEmptyValue) {
    for (auto [value, printed] : {std::pair{"", ""}, {"0", "Lines: 3\n"}}) {
        ScopedVariable verbose("VARNEL_VERBOSE", value);
        EXPECT_EQ(standardOutputOf([] { logVerbose("Lines: 3"); }), printed) << value;
    }
}
