#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "ArgumentParser/CommandParser.hpp"
#include "ArgumentParser/CompletionsGenerator.hpp"
#include "CompletionTrees.hpp"
#include "VarnTree.hpp"

using namespace ap;
using namespace completiontrees;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string fishFunctions = R"GOLD(# A function which filters options which starts with "-" from $argv.
function _cli_tool_preprocessor
    set -l results
    for i in (seq (count $argv))
        switch (echo $argv[$i] | string sub -l 1)
            case '-'
            case '*'
                echo $argv[$i]
        end
    end
end

function _cli_tool_using_command
    set -l currentCommands (_cli_tool_preprocessor (commandline -opc))
    set -l expectedCommands (string split " " $argv[1])
    set -l subcommands (string split " " $argv[2])
    if [ (count $currentCommands) -ge (count $expectedCommands) ]
        for i in (seq (count $expectedCommands))
            if [ $currentCommands[$i] != $expectedCommands[$i] ]
                return 1
            end
        end
        if [ (count $currentCommands) -eq (count $expectedCommands) ]
            return 0
        end
        if [ (count $subcommands) -gt 1 ]
            for i in (seq (count $subcommands))
                if [ $currentCommands[(math (count $expectedCommands) + 1)] = $subcommands[$i] ]
                    return 1
                end
            end
        end
        return 0
    end
    return 1
end

)GOLD";

std::string script(CompletionShell shell, const CommandType& root) { return generateCompletionScript(shell, root); }

const CommandType& kit() { return typeOf<KitTool>(); }

/// Named like the root, so its name drops out of function names.
struct Twin : ParsableCommand {
    static constexpr std::string_view typeName = "Twin";
    static CommandConfiguration configuration() { return {.commandName = "kit-tool"}; }
};

}  // namespace

TEST(CompletionScripts, BashExampleWithSubcommandLookupAtItsOwnWord) {
    EXPECT_EQ(script(CompletionShell::bash, typeOf<Tool>()), R"GOLD(#!/bin/bash

_tool() {
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    COMPREPLY=()
    opts="--mode --help -h sync help"
    if [[ $COMP_CWORD == "1" ]]; then
        COMPREPLY=( $(compgen -W "$opts" -- "$cur") )
        return
    fi
    case $prev in
        --mode)
            COMPREPLY=( $(compgen -W "fast slow" -- "$cur") )
            return
        ;;
    esac
    case ${COMP_WORDS[1]} in
        (sync)
            _tool_sync 2
            return
            ;;
        (help)
            _tool_help 2
            return
            ;;
    esac
    COMPREPLY=( $(compgen -W "$opts" -- "$cur") )
}
_tool_sync() {
    opts="--help -h"
    if [[ $COMP_CWORD == "$1" ]]; then
        COMPREPLY=( $(compgen -W "$opts" -- "$cur") )
        return
    fi
    COMPREPLY=( $(compgen -W "$opts" -- "$cur") )
}
_tool_help() {
    opts=""
    if [[ $COMP_CWORD == "$1" ]]; then
        COMPREPLY=( $(compgen -W "$opts" -- "$cur") )
        return
    fi
    COMPREPLY=( $(compgen -W "$opts" -- "$cur") )
}


complete -F _tool tool)GOLD");
}

TEST(CompletionScripts, ZshExampleWithDescribableShellCommands) {
    EXPECT_EQ(script(CompletionShell::zsh, typeOf<Tool>()), R"GOLD(#compdef tool
local context state state_descr line
_tool_commandname=$words[1]
typeset -A opt_args

_tool() {
    integer ret=1
    local -a args
    args+=(
        '--mode[Mode.]:mode:(fast slow)'
        '(--help -h)'{--help,-h}'[Show help information.]'
        '(-): :->command'
        '(-)*:: :->arg'
    )
    _arguments -w -s -S $args[@] && ret=0
    case $state in
        (command)
            local subcommands
            subcommands=(
                'sync:Sync.'
                'help:Show subcommand help information.'
            )
            _describe "subcommand" subcommands
            ;;
        (arg)
            case ${words[1]} in
                (sync)
                    _tool_sync
                    ;;
                (help)
                    _tool_help
                    ;;
            esac
            ;;
    esac

    return ret
}

_tool_sync() {
    integer ret=1
    local -a args
    args+=(
        '(--help -h)'{--help,-h}'[Show help information.]'
    )
    _arguments -w -s -S $args[@] && ret=0

    return ret
}

_tool_help() {
    integer ret=1
    local -a args
    args+=(
        ':subcommands:'
    )
    _arguments -w -s -S $args[@] && ret=0

    return ret
}


_custom_completion() {
    local completions=("${(@f)$($*)}")
    _describe '' completions
}

_tool)GOLD");

    // Once the entry's quotes are removed, _describe gets an empty
    // description and the list.
    EXPECT_THAT(script(CompletionShell::zsh, varntree::root()),
                HasSubstr(R"X(':revspec-a:{local -a list; list=(${(f)"$(git branch -l; git branch -lr; git tag -l)"}); )X"
                          R"X(_describe '"''"' list}')X"));
}

TEST(CompletionScripts, FishExample) {
    EXPECT_EQ(script(CompletionShell::fish, typeOf<Tool>()), fishFunctions + R"GOLD(complete -c tool -n '_cli_tool_using_command "tool sync"' -l help -s h -d 'Show help information.'
complete -c tool -n '_cli_tool_using_command "tool" "sync help"' -l mode -d 'Mode.' -r -f -k -a 'fast slow'
complete -c tool -n '_cli_tool_using_command "tool" "sync help"' -l help -s h -d 'Show help information.'
complete -c tool -n '_cli_tool_using_command "tool" "sync help"' -f -a 'sync' -d 'Sync.'
complete -c tool -n '_cli_tool_using_command "tool" "sync help"' -f -a 'help' -d 'Show subcommand help information.')GOLD");
}

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
)GOLD"));
    EXPECT_THAT(zsh, HasSubstr("_kit_tool_commandname=$words[1]\n"));
    EXPECT_THAT(zsh, HasSubstr("\n                'fetch-all:Fetch '\"'\"'all'\"'\"'.'\n"));
    EXPECT_THAT(zsh,
                HasSubstr("\n                (fetch-all)\n"
                          "                    _kit-tool_fetch-all\n                    ;;\n"));
    EXPECT_THAT(zsh, HasSubstr("\n        '--depth[Depth.]:depth:{_custom_completion $_kit_tool_commandname "
                               "---completion fetch-all -- --depth $words}'\n"));
    EXPECT_THAT(zsh, HasSubstr("\n_kit-tool_fetch-all_deep() {\n"));
    EXPECT_TRUE(zsh.ends_with("}\n\n_kit-tool"));
}

TEST(CompletionScripts, FishKinds) {
    auto fish = script(CompletionShell::fish, kit());
    const std::string root = "complete -c kit-tool -n '_cli_kit-tool_using_command \"kit-tool\" \"fetch-all help\"' ";
    const std::string fetch = "complete -c kit-tool -n '_cli_kit-tool_using_command \"kit-tool fetch-all\" \"deep\"' ";
    const std::string deep = "complete -c kit-tool -n '_cli_kit-tool_using_command \"kit-tool fetch-all deep\"' ";
    EXPECT_THAT(fish, HasSubstr("function _cli_kit-tool_using_command\n"
                                "    set -l currentCommands (_cli_kit-tool_preprocessor (commandline -opc))\n"));
    EXPECT_THAT(fish, HasSubstr("\n\n" + deep + "-l level -r -f -k -a 'one two'\n" + deep +
                                "-l help -s h -d 'Show help information.'\n" + fetch +
                                "-l depth -d 'Depth.' -r -f -a '(command kit-tool ---completion fetch-all -- --depth "
                                "(commandline -opc)[1..-1])'\n" +
                                fetch + "-l help -s h -d 'Show help information.'\n" + fetch +
                                "-f -a 'deep' -d 'Deep.'\n"));
    EXPECT_THAT(fish, HasSubstr("\n" + root + "-s m -l mode -d 'Mode.' -r -f -k -a 'fast slow'\n" + root +
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
    EXPECT_TRUE(fish.ends_with("-d 'Show subcommand help information.'"));
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

// Reading the variable from the environment is checked on the built tool.
TEST(CompletionShellResolution, NamesAndTheShellVariable) {
    auto shellOf = [](std::optional<std::string> name, std::optional<std::string> variable) {
        return resolveCompletionShell(name, variable);
    };
    EXPECT_EQ(*shellOf("bash", "/bin/zsh"), CompletionShell::bash);
    EXPECT_EQ(*shellOf(std::nullopt, "/usr/local/bin/fish"), CompletionShell::fish);
    EXPECT_EQ(*shellOf(std::nullopt, "//bin//bash//"), CompletionShell::bash);

    auto unsupported = [&](std::optional<std::string> name, std::optional<std::string> variable) {
        auto r = shellOf(name, variable);
        if (r) return std::optional<std::string>("<resolved>");
        auto e = r.error().as<ParserError::UnsupportedShell>();
        return e ? e->shell : std::optional<std::string>("<other error>");
    };
    EXPECT_EQ(unsupported("Bash", "/bin/bash"), "Bash");
    EXPECT_EQ(unsupported("", "/bin/bash"), "");
    EXPECT_EQ(unsupported(std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(unsupported(std::nullopt, "/bin/tcsh"), std::nullopt);
    EXPECT_EQ(unsupported(std::nullopt, ""), std::nullopt);
    EXPECT_EQ(unsupported(std::nullopt, "/"), std::nullopt);
    EXPECT_EQ(supportedShellList(), "zsh bash fish");
}
