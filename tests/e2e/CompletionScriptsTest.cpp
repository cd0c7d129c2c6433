// Asking the built varn for a completion script, with and without a shell
// name, and the scripts that installing the build tree puts where each shell
// looks for them.

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/e2e/Programs.hpp"

using namespace e2e;

namespace {

constexpr const char* usage = "Usage: varn <subcommand>\n  See 'varn --help' for more information.\n";
constexpr const char* shellChoice = "Please use --generate-completion-script=<shell> with one of:\n    zsh bash fish\n";

class CompletionScripts : public ::testing::Test {
protected:
    /// The script varn prints for `shell`, named explicitly.
    std::string script(const std::string& shell) {
        auto printed = run(varnProgram, {"--generate-completion-script", shell}, tmp.path());
        EXPECT_EQ(printed.terminationStatus, 0) << printed.standardError;
        EXPECT_EQ(printed.standardError, "");
        return printed.standardOutput;
    }

    testsupport::TemporaryDirectory tmp;
};

}  // namespace

TEST_F(CompletionScripts, LoginShellChoosesTheScript) {
    struct Case {
        std::string loginShell;
        std::string shell;
    } cases[] = {{"/bin/zsh", "zsh"}, {"/usr/local/bin/fish", "fish"}, {"bash", "bash"}, {"/opt/bin/zsh//", "zsh"}};
    for (const auto& c : cases) {
        auto printed = run(varnProgram, {"--generate-completion-script"}, tmp.path(), {{"SHELL", c.loginShell}});
        EXPECT_EQ(printed.terminationStatus, 0) << c.loginShell << ": " << printed.standardError;
        EXPECT_EQ(printed.standardError, "") << c.loginShell;
        EXPECT_EQ(printed.standardOutput, script(c.shell)) << c.loginShell;
    }
    EXPECT_EQ(script("zsh").rfind("#compdef varn\n", 0), 0u);
    EXPECT_EQ(run(varnProgram, {"--generate-completion-script=fish"}, tmp.path()).standardOutput, script("fish"));
}

TEST_F(CompletionScripts, UnusableShellsAreRefusedWithTheUsage) {
    const std::string autodetect = std::string("Error: Can't autodetect a supported shell.\n") + shellChoice + usage;
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> loginShell;
        std::string message;
    } cases[] = {
        {{"--generate-completion-script"}, std::nullopt, autodetect},
        {{"--generate-completion-script"}, "/bin/tcsh", autodetect},
        {{"--generate-completion-script"}, "", autodetect},
        {{"--generate-completion-script", "Bash"}, "/bin/bash",
         std::string("Error: Can't generate completion scripts for 'Bash'.\n") + shellChoice + usage},
    };
    for (const auto& c : cases) {
        auto printed = run(varnProgram, c.arguments, tmp.path(), {{"SHELL", c.loginShell}});
        EXPECT_EQ(printed.terminationStatus, 64) << c.loginShell.value_or("unset");
        EXPECT_EQ(printed.standardOutput, "") << c.loginShell.value_or("unset");
        EXPECT_EQ(printed.standardError, c.message) << c.loginShell.value_or("unset");
    }
}

TEST_F(CompletionScripts, InstallationPlacesTheBuiltScriptsWhereEachShellLooks) {
    auto installed = run(VARN_CMAKE_COMMAND, {"--install", VARN_BUILD_DIR, "--prefix", tmp / "prefix"}, tmp.path());
    ASSERT_EQ(installed.terminationStatus, 0) << installed.standardOutput << installed.standardError;
    struct Case {
        std::string path;
        std::string shell;
    } cases[] = {{"share/bash-completion/completions/varn", "bash"},
                 {"share/zsh/site-functions/_varn", "zsh"},
                 {"share/fish/vendor_completions.d/varn.fish", "fish"}};
    for (const auto& c : cases) {
        auto path = tmp / "prefix/" + c.path;
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
        EXPECT_EQ(testsupport::readFile(path), script(c.shell)) << path;
    }
}
