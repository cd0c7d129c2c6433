// One autoloadable file: a function per command built on `_arguments`, a
// state handler that describes the subcommands and descends into the one
// named, and a helper that turns the tool's custom candidates into matches.
#include "ArgumentParser/ZshCompletionsGenerator.hpp"

#include "ArgumentParser/CompletionsGenerator.hpp"

namespace ap {
namespace {

using completions::indented;
using completions::joined;

/// Makes `text` safe inside a single-quoted `_arguments` entry:
/// quotes close and reopen around a double-quoted one, and backslashes and
/// brackets lose their meaning to `_arguments`.
std::string escaped(std::string_view text) {
    std::string quoted;
    for (char c : text) {
        if (c == '\'') quoted += "'\"'\"'";
        else quoted += c;
    }
    std::string result;
    for (char c : quoted) {
        if (c == '\\' || c == '[' || c == ']') result += '\\';
        result += c;
    }
    return result;
}

std::string dashReplacedRootName(const CommandType& root) {
    auto name = root.commandName();
    for (auto& c : name)
        if (c == '-') c = '_';
    return name;
}

std::string commandNameVariable(const CommandType& root) { return "_" + dashReplacedRootName(root) + "_commandname"; }

std::string completionAction(const CommandStack& stack, const ArgumentDefinition& definition) {
    const auto& kind = definition.completion;
    if (auto list = kind.as<CompletionKind::List>()) return "(" + joined(list->words, " ") + ")";
    if (auto file = kind.as<CompletionKind::File>()) {
        if (file->extensions.empty()) return "_files";
        std::vector<std::string> patterns;
        for (const auto& e : file->extensions) patterns.push_back("*." + e);
        return "_files" + escaped(" -g '" + joined(patterns, " ") + "'");
    }
    if (kind.as<CompletionKind::Directory>()) return "_files -/";
    // The empty description must survive the quote removal of the
    // surrounding entry, so it is written as a double-quoted ''.
    if (auto command = kind.as<CompletionKind::ShellCommand>())
        return "{local -a list; list=(${(f)\"$(" + command->command + ")\"}); _describe '\"''\"' list}";
    if (kind.as<CompletionKind::Custom>())
        return "{_custom_completion $" + commandNameVariable(*stack.front()) + " " +
               customCompletionCall(stack, definition) + " $words}";
    return {};
}

std::string argumentEntry(const CommandStack& stack, const ArgumentDefinition& definition) {
    std::string value;
    if (definition.takesValue()) value = ":" + definition.valueName() + ":" + completionAction(stack, definition);

    std::string abstract;
    if (!definition.help.abstract.empty()) abstract = "[" + escaped(definition.help.abstract) + "]";
    std::vector<std::string> names;
    for (const auto& name : definition.names) names.push_back(name.synopsis());
    std::string namePart;
    if (names.size() == 1) namePart = names.front() + abstract;
    else if (names.size() > 1) namePart = "(" + joined(names, " ") + ")'{" + joined(names, ",") + "}'" + abstract;

    return "'" + namePart + value + "'";
}

std::string stateHandler(const CommandStack& stack, const std::vector<const CommandType*>& subcommands) {
    std::vector<std::string> descriptions, modes;
    for (auto sub : subcommands) {
        auto subStack = stack;
        subStack.push_back(sub);
        descriptions.push_back(
            indented("'" + sub->commandName() + ":" + escaped(sub->configuration().abstract) + "'", 12));
        modes.push_back(indented("(" + sub->commandName() + ")\n    " + completionFunctionName(subStack, false) +
                                     "\n    ;;",
                                 12));
    }
    return indented("case $state in\n"
                    "    (command)\n"
                    "        local subcommands\n"
                    "        subcommands=(\n" +
                        joined(descriptions, "\n") +
                        "\n"
                        "        )\n"
                        "        _describe \"subcommand\" subcommands\n"
                        "        ;;\n"
                        "    (arg)\n"
                        "        case ${words[1]} in\n" +
                        joined(modes, "\n") +
                        "\n"
                        "        esac\n"
                        "        ;;\n"
                        "esac\n",
                    4);
}

void appendCommandFunction(const CommandStack& stack, std::string& script) {
    std::vector<std::string> arguments;
    for (const auto& d : completionDefinitions(stack)) arguments.push_back(argumentEntry(stack, d));
    auto subcommands = listedSubcommands(stack);
    std::string handler;
    if (!subcommands.empty()) {
        arguments.push_back("'(-): :->command'");
        arguments.push_back("'(-)*:: :->arg'");
        handler = stateHandler(stack, subcommands);
    }
    script += completionFunctionName(stack, false) +
              "() {\n"
              "    integer ret=1\n"
              "    local -a args\n"
              "    args+=(\n" +
              indented(joined(arguments, "\n"), 8) +
              "\n"
              "    )\n"
              "    _arguments -w -s -S $args[@] && ret=0\n" +
              handler +
              "\n"
              "    return ret\n"
              "}\n\n";
    for (auto sub : subcommands) {
        auto subStack = stack;
        subStack.push_back(sub);
        appendCommandFunction(subStack, script);
    }
}

}  // namespace

std::string zshCompletionScript(const CommandType& root) {
    std::string script = "#compdef " + root.commandName() + "\nlocal context state state_descr line\n" +
                         commandNameVariable(root) + "=$words[1]\ntypeset -A opt_args\n\n";
    appendCommandFunction({&root}, script);
    script += "\n"
              "_custom_completion() {\n"
              "    local completions=(\"${(@f)$($*)}\")\n"
              "    _describe '' completions\n"
              "}\n\n";
    script += completionFunctionName({&root}, false);
    return script;
}

}  // namespace ap
