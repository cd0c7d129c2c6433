#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/CompletionsGenerator.hpp"
#include "CompletionTrees.hpp"

using namespace ap;
using namespace completiontrees;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::string script(CompletionShell shell, const CommandType& root) { return generateCompletionScript(shell, root); }

const CommandType& kit() { return typeOf<KitTool>(); }

/// A subcommand whose abstract has two paragraphs.
struct Paragraphs : ParsableCommand {
    static constexpr std::string_view typeName = "Paragraphs";
    static CommandConfiguration configuration() { return {.abstract = "One.\n\nTwo."}; }
};
struct Essay : ParsableCommand {
    static constexpr std::string_view typeName = "Essay";
    static CommandConfiguration configuration() { return {.subcommands = {typeOf<Paragraphs>}}; }
};

/// Named like the root, so its name drops out of function names.
struct Twin : ParsableCommand {
    static constexpr std::string_view typeName = "Twin";
    static CommandConfiguration configuration() { return {.commandName = "kit-tool"}; }
};

}  // namespace

// What each kind offers in bash is checked in real bash; here, what a shell
// run cannot tell apart.
TEST(CompletionScripts, BashKinds) {
    auto bash = script(CompletionShell::bash, kit());
    // An option without a completion offers nothing rather than the options.
    EXPECT_THAT(bash, HasSubstr("\n        --plain)\n\n            return\n        ;;\n    esac\n"));
    EXPECT_THAT(bash, Not(HasSubstr("--verbose)")));  // a flag has no value to complete
    // Nested functions start from the word their caller hands them; two
    // levels down a wrong start still offers the same words.
    EXPECT_THAT(bash, HasSubstr(R"X(
    case ${COMP_WORDS[$1]} in
        (deep)
            _kit_tool_fetch_all_deep $(($1+1))
            return
            ;;
    esac
)X"));
}

TEST(CompletionScripts, ZshKinds) {
    auto zsh = script(CompletionShell::zsh, kit());
    EXPECT_THAT(zsh, HasSubstr(R"GOLD(
_kit-tool() {
    integer ret=1
    local -a args
    args+=(
        '(-m --mode)'{-m,--mode}'[Mode.]:mode:(fast slow)'
        '--config[Don'"'"'t \[use\] back\\slash.]:config:_files -g '"'"'*.txt *.md'"'"''
        '--input[Input.]:input:_files'
        '--out-dir[Output.]:out-dir:_files -/'
        '--branch:branch:{local -a list; list=(${(f)"$(echo main dev)"}); _describe '"''"' list}'
        '-name[Name.]:name:{_custom_completion $_kit_tool_commandname ---completion  -- -name $words}'
        '--plain[Plain.]:text:'
        '--verbose'
        ':target:{_custom_completion $_kit_tool_commandname ---completion  -- target $words}'
        ':kind:(red green)'
        ':rev:{local -a list; list=(${(f)"$(echo v1 v2)"}); _describe '"''"' list}'
        ':path:_files -g '"'"'*.c'"'"''
        ':extra:'
        '(--help -h)'{--help,-h}'[Show help information.]'
        '(-): :->command'
        '(-)*:: :->arg'
    )
    _arguments -w -s -S $args[@] && ret=0
)GOLD"));
    // The shell runs here reach no subcommand: this tree's root positionals
    // take the words first.
    EXPECT_THAT(zsh, HasSubstr(R"GOLD(
    case $state in
        (command)
            local subcommands
            subcommands=(
                'fetch-all:Fetch '"'"'all'"'"'.'
                'help:Show subcommand help information.'
            )
            _describe "subcommand" subcommands
            ;;
        (arg)
            case ${words[1]} in
                (fetch-all)
                    _kit-tool_fetch-all
                    ;;
                (help)
                    _kit-tool_help
                    ;;
            esac
            ;;
    esac
)GOLD"));
    EXPECT_THAT(zsh, HasSubstr("\n        '--depth[Depth.]:depth:{_custom_completion $_kit_tool_commandname "
                               "---completion fetch-all -- --depth $words}'\n"));
    EXPECT_THAT(zsh, HasSubstr("\n_kit-tool_fetch-all_deep() {\n"));
    // The help subcommand takes subcommand names, which no shell run types.
    EXPECT_THAT(zsh, HasSubstr("\n_kit-tool_help() {\n    integer ret=1\n    local -a args\n    args+=(\n"
                               "        ':subcommands:'\n    )\n"));
    // Every line of a declared text is indented with its block, but an empty one.
    EXPECT_THAT(script(CompletionShell::zsh, typeOf<Essay>()),
                HasSubstr("\n                'paragraphs:One.\n\n                Two.'\n"));
}

TEST(CompletionScripts, FishKinds) {
    auto fish = script(CompletionShell::fish, kit());
    const std::string root = "complete -c kit-tool -n '_cli_kit-tool_using_command \"kit-tool\" \"fetch-all help\"' ";
    const std::string deep = "complete -c kit-tool -n '_cli_kit-tool_using_command \"kit-tool fetch-all deep\"' ";
    EXPECT_THAT(fish, HasSubstr("\n\n" + deep + "-l level -r -f -k -a 'one two'\n"));
    EXPECT_THAT(fish, EndsWith("\n" + root + "-s m -l mode -d 'Mode.' -r -f -k -a 'fast slow'\n" + root +
                                R"X(-l config -d 'Don\'t [use] back\\slash.' )X"
                                R"X(-r -f -a '(for i in *.{txt,md}; echo $i;end)')X" +
                                "\n" + root + "-l input -d 'Input.' -r -F\n" + root +
                                "-l out-dir -d 'Output.' -r -f -a '(__fish_complete_directories)'\n" + root +
                                "-l branch -r -f -a '(echo main dev)'\n" + root +
                                "-o name -d 'Name.' -r -f -a '(command kit-tool ---completion  -- -name "
                                "(commandline -opc)[1..-1])'\n" +
                                root + "-l plain -d 'Plain.'\n" + root + "-l verbose\n" + root +
                                "-l help -s h -d 'Show help information.'\n" + root +
                                R"X(-f -a 'fetch-all' -d 'Fetch \'all\'.')X" + "\n" + root +
                                "-f -a 'help' -d 'Show subcommand help information.'"));
}

TEST(CompletionScripts, HiddenAndPrivateLeftOut) {
    for (auto shell : {CompletionShell::zsh, CompletionShell::bash, CompletionShell::fish}) {
        SCOPED_TRACE(rawValue(shell));
        auto kitScript = script(shell, kit());
        for (auto word : {"quiet", "Quiet", "token", "never", "concealed", "_secret", "whisper"})
            EXPECT_THAT(kitScript, Not(HasSubstr(word)));
    }
}

TEST(CompletionScripts, FunctionNamesDropRepeatsAndReplaceDashes) {
    CommandStack stack{&kit(), &typeOf<Twin>(), &typeOf<FetchAll>()};
    EXPECT_EQ(completionFunctionName(stack), "_kit_tool_fetch_all");
    EXPECT_EQ(completionFunctionName(stack, false), "_kit-tool_fetch-all");
}

namespace {

/// The call text split as a shell splits it, followed by the words typed.
std::vector<std::string> callArguments(const std::string& call, std::vector<std::string> typed) {
    std::vector<std::string> arguments;
    std::istringstream in(call);
    for (std::string word; in >> word;) arguments.push_back(word);
    arguments.insert(arguments.end(), typed.begin(), typed.end());
    return arguments;
}

const ArgumentDefinition& definitionWithKey(const CommandType& command, const std::string& key) {
    for (const auto& d : command.definitions())
        if (d.help.keys.front().name == key) return d;
    throw std::logic_error("no definition " + key);
}

ParserError parserFailure(const CommandType& root, std::vector<std::string> arguments) {
    auto result = parseAsRoot(root, std::move(arguments));
    if (result) throw std::logic_error("parse succeeded");
    auto e = result.error().as<CommandError>();
    if (!e) throw std::logic_error("not a command error");
    return e->parserError;
}

std::string customResponse(const CommandType& root, std::vector<std::string> arguments) {
    auto failure = parserFailure(root, std::move(arguments));
    auto response = failure.as<ParserError::CompletionScriptCustomResponse>();
    return response ? response->text : "<no response>";
}

}  // namespace

TEST(CompletionScripts, CustomCompletionCallIsAnsweredByTheParser) {
    const CommandStack rootStack{&kit()};
    const CommandStack fetchStack{&kit(), &typeOf<FetchAll>()};
    struct Case {
        CommandStack stack;
        std::string key;
        std::string call;
    };
    for (const auto& c : std::vector<Case>{
             {rootStack, "target", "---completion  -- target"},
             {rootStack, "name", "---completion  -- -name"},
             {fetchStack, "depth", "---completion fetch-all -- --depth"},
             {fetchStack, "remote", "---completion fetch-all -- remote"},
         }) {
        SCOPED_TRACE(c.call);
        auto call = customCompletionCall(c.stack, definitionWithKey(*c.stack.back(), c.key));
        EXPECT_EQ(call, c.call);
        EXPECT_EQ(customResponse(kit(), callArguments(call, {"kit-tool", "x y", ""})),
                  "alpha\nbeta\ngot:kit-tool\ngot:x y\ngot:");
    }
    ArgumentDefinition keyless;
    EXPECT_EQ(customCompletionCall(rootStack, keyless), "---completion  -- ---");
}

TEST(CompletionScripts, CustomCompletionCallsThatNameNoCustomArgument) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"---completion", "nope", "--", "--depth"},   // unknown subcommand
             {"---completion", "fetch-all", "--"},         // no argument
             {"---completion", "fetch-all"},               // no terminator
             {"---completion", "--", "--"},                // a terminator is no argument
             {"---completion", "--", "--mode", "w"},       // not a custom completion
             {"---completion", "--", "-m"},
             {"---completion", "--", "kind"},
             {"---completion", "--", "depth"},             // belongs to the subcommand
             {"---completion", "--", "---x"},
         }) {
        SCOPED_TRACE(arguments.back());
        EXPECT_TRUE(parserFailure(kit(), arguments).as<ParserError::InvalidState>());
    }
}

// The built tool is run with the common login shells and refusals; here,
// what those runs leave out.
TEST(CompletionShellResolution, NamesAndTheShellVariable) {
    EXPECT_EQ(*resolveCompletionShell("bash", "/bin/zsh"), CompletionShell::bash);
    EXPECT_EQ(*resolveCompletionShell(std::nullopt, "//bin//bash//"), CompletionShell::bash);
    auto unsupported = [](std::optional<std::string> name, std::optional<std::string> variable) {
        auto r = resolveCompletionShell(name, variable);
        if (r) return std::optional<std::string>("<resolved>");
        auto e = r.error().as<ParserError::UnsupportedShell>();
        return e ? e->shell : std::optional<std::string>("<other error>");
    };
    EXPECT_EQ(unsupported("", "/bin/bash"), "");
    EXPECT_EQ(unsupported(std::nullopt, "/"), std::nullopt);
}
