// A flat script: two functions decide from the words typed so far which
// command is being completed, and one `complete` line per subcommand and per
// named argument offers it under that condition.
#include "ArgumentParser/FishCompletionsGenerator.hpp"

#include <optional>

#include "ArgumentParser/CompletionsGenerator.hpp"

namespace ap {
namespace {

using completions::joined;

/// The prefix word of the generated function names, the same for every tool.
constexpr std::string_view prefixWord = "cli";

std::string preprocessorName(const CommandType& root) {
    return "_" + std::string(prefixWord) + "_" + root.commandName() + "_preprocessor";
}

std::string usingCommandName(const CommandType& root) {
    return "_" + std::string(prefixWord) + "_" + root.commandName() + "_using_command";
}

std::string preprocessorFunction(const CommandType& root) {
    return "# A function which filters options which starts with \"-\" from $argv.\n"
           "function " +
           preprocessorName(root) +
           "\n"
           "    set -l results\n"
           "    for i in (seq (count $argv))\n"
           "        switch (echo $argv[$i] | string sub -l 1)\n"
           "            case '-'\n"
           "            case '*'\n"
           "                echo $argv[$i]\n"
           "        end\n"
           "    end\n"
           "end";
}

std::string usingCommandFunction(const CommandType& root) {
    return "function " + usingCommandName(root) +
           "\n"
           "    set -l currentCommands (" +
           preprocessorName(root) +
           " (commandline -opc))\n"
           "    set -l expectedCommands (string split \" \" $argv[1])\n"
           "    set -l subcommands (string split \" \" $argv[2])\n"
           "    if [ (count $currentCommands) -ge (count $expectedCommands) ]\n"
           "        for i in (seq (count $expectedCommands))\n"
           "            if [ $currentCommands[$i] != $expectedCommands[$i] ]\n"
           "                return 1\n"
           "            end\n"
           "        end\n"
           "        if [ (count $currentCommands) -eq (count $expectedCommands) ]\n"
           "            return 0\n"
           "        end\n"
           "        if [ (count $subcommands) -gt 1 ]\n"
           "            for i in (seq (count $subcommands))\n"
           "                if [ $currentCommands[(math (count $expectedCommands) + 1)] = $subcommands[$i] ]\n"
           "                    return 1\n"
           "                end\n"
           "            end\n"
           "        end\n"
           "        return 0\n"
           "    end\n"
           "    return 1\n"
           "end";
}

/// Text for inside single quotes. Backslashes are doubled as well as quotes
/// escaped, so a backslash in a description can never swallow the quote
/// that ends it.
std::string escaped(std::string_view text) {
    std::string result;
    for (char c : text) {
        if (c == '\'' || c == '\\') result += '\\';
        result += c;
    }
    return result;
}

std::optional<std::string> valueWord(const CommandStack& stack, const ArgumentDefinition& definition) {
    const auto& kind = definition.completion;
    if (auto list = kind.as<CompletionKind::List>()) return "-r -f -k -a '" + joined(list->words, " ") + "'";
    if (auto file = kind.as<CompletionKind::File>()) {
        // Any file: fish's own file completion.
        if (file->extensions.empty()) return "-r -F";
        return "-r -f -a '(for i in *.{" + joined(file->extensions, ",") + "}; echo $i;end)'";
    }
    if (kind.as<CompletionKind::Directory>()) return "-r -f -a '(__fish_complete_directories)'";
    if (auto command = kind.as<CompletionKind::ShellCommand>()) return "-r -f -a '(" + command->command + ")'";
    if (kind.as<CompletionKind::Custom>())
        return "-r -f -a '(command " + stack.front()->commandName() + " " + customCompletionCall(stack, definition) +
               " (commandline -opc)[1..-1])'";
    return std::nullopt;
}

std::string argumentWords(const CommandStack& stack, const ArgumentDefinition& definition) {
    std::vector<std::string> words;
    for (const auto& name : definition.names) {
        switch (name.kind()) {
            case Name::Kind::long_: words.push_back("-l " + name.valueString()); break;
            case Name::Kind::short_: words.push_back("-s " + name.valueString()); break;
            case Name::Kind::longWithSingleDash: words.push_back("-o " + name.valueString()); break;
        }
    }
    if (!definition.help.abstract.empty()) words.push_back("-d '" + escaped(definition.help.abstract) + "'");
    if (definition.takesValue())
        if (auto word = valueWord(stack, definition)) words.push_back(*word);
    return joined(words, " ");
}

void appendCommandLines(const CommandStack& stack, std::vector<std::string>& lines) {
    const auto& root = *stack.front();
    auto subcommands = listedSubcommands(stack);

    std::vector<std::string> path, subcommandNames;
    for (auto command : stack) path.push_back(command->commandName());
    for (auto sub : subcommands) subcommandNames.push_back(sub->commandName());
    auto prefix = "complete -c " + root.commandName() + " -n '" + usingCommandName(root) + " \"" + joined(path, " ") +
                  "\"" + (subcommands.empty() ? "" : " \"" + joined(subcommandNames, " ") + "\"") + "'";

    for (auto sub : subcommands) {
        auto subStack = stack;
        subStack.push_back(sub);
        appendCommandLines(subStack, lines);
    }
    for (auto d : completionDefinitions(stack))
        if (d->isNamed()) lines.push_back(prefix + " " + argumentWords(stack, *d));
    for (auto sub : subcommands)
        lines.push_back(prefix + " -f -a '" + sub->commandName() + "' -d '" + escaped(sub->configuration().abstract) +
                        "'");
}

}  // namespace

std::string fishCompletionScript(const CommandType& root) {
    std::vector<std::string> lines;
    appendCommandLines({&root}, lines);
    return preprocessorFunction(root) + "\n\n" + usingCommandFunction(root) + "\n\n" + joined(lines, "\n");
}

}  // namespace ap
