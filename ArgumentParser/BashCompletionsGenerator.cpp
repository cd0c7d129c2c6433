// One function per command: the root's function reads the current and the
// previous word, offers the options and subcommands, completes the value of
// an option just typed, and hands the rest of the line to the function of the
// subcommand named on it.
#include "ArgumentParser/BashCompletionsGenerator.hpp"

#include <optional>

#include "ArgumentParser/CompletionsGenerator.hpp"
#include "ArgumentParser/Unicode.hpp"

namespace ap {
namespace {

using completions::indented;
using completions::joined;

std::string toolCall(const CommandStack& stack, const ArgumentDefinition& definition) {
    return "$(\"${COMP_WORDS[0]}\" " + customCompletionCall(stack, definition) + " \"${COMP_WORDS[@]}\")";
}

/// The words a positional adds to the offered ones; nothing for kinds that
/// complete paths or nothing at all.
std::optional<std::string> positionalWords(const CommandStack& stack, const ArgumentDefinition& definition) {
    const auto& kind = definition.completion;
    if (auto list = kind.as<CompletionKind::List>()) return joined(list->words, " ");
    if (auto command = kind.as<CompletionKind::ShellCommand>()) return "$(" + command->command + ")";
    if (kind.as<CompletionKind::Custom>()) return toolCall(stack, definition);
    return std::nullopt;
}

std::string fileCompletion(const std::vector<std::string>& given) {
    if (given.empty())
        return "if declare -F _filedir >/dev/null; then\n"
               "  _filedir\n"
               "else\n"
               "  COMPREPLY=( $(compgen -f -- \"$cur\") )\n"
               "fi";
    // Extensions are matched case-sensitively, so the upper-case spelling is
    // offered as well.
    auto extensions = given;
    for (const auto& e : given) extensions.push_back(unicode::uppercased(e));
    std::vector<std::string> filedir, compgen;
    for (const auto& e : extensions) {
        filedir.push_back("_filedir '" + e + "'");
        compgen.push_back("$(compgen -f -X '!*." + e + "' -- \"$cur\")");
    }
    return "if declare -F _filedir >/dev/null; then\n  " + joined(filedir, "\n  ") +
           "\n  _filedir -d\nelse\n  COMPREPLY=(\n    " + joined(compgen, "\n    ") +
           "\n    $(compgen -d -- \"$cur\")\n  )\nfi";
}

std::string valueCompletion(const CommandStack& stack, const ArgumentDefinition& definition) {
    const auto& kind = definition.completion;
    if (auto list = kind.as<CompletionKind::List>())
        return "COMPREPLY=( $(compgen -W \"" + joined(list->words, " ") + "\" -- \"$cur\") )";
    if (auto file = kind.as<CompletionKind::File>()) return fileCompletion(file->extensions);
    if (kind.as<CompletionKind::Directory>())
        return "if declare -F _filedir >/dev/null; then\n"
               "  _filedir -d\n"
               "else\n"
               "  COMPREPLY=( $(compgen -d -- \"$cur\") )\n"
               "fi";
    if (auto command = kind.as<CompletionKind::ShellCommand>()) return "COMPREPLY=( $(" + command->command + ") )";
    if (kind.as<CompletionKind::Custom>())
        return "COMPREPLY=( $(compgen -W \"" + toolCall(stack, definition) + "\" -- \"$cur\") )";
    return {};
}

std::string optionCase(const CommandStack& stack, const ArgumentDefinition& definition) {
    std::vector<std::string> names;
    for (const auto& name : definition.names) names.push_back(name.synopsis());
    return joined(names, "|") + ")\n" + indented(valueCompletion(stack, definition), 4) + "\n    return\n;;";
}

void appendCommandFunction(const CommandStack& stack, std::string& script) {
    bool atRoot = stack.size() == 1;
    auto function = completionFunctionName(stack);
    std::string wordIndex = atRoot ? "1" : "$1";
    std::string nextIndex = atRoot ? "2" : "$(($1+1))";
    auto subcommands = listedSubcommands(stack);
    auto definitions = completionDefinitions(stack);

    auto opts = completionOptionNames(stack);
    for (auto sub : subcommands) opts.push_back(sub->commandName());

    script += function + "() {\n";
    if (atRoot)
        script +=
            "    cur=\"${COMP_WORDS[COMP_CWORD]}\"\n"
            "    prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
            "    COMPREPLY=()\n";
    script += "    opts=\"" + joined(opts, " ") + "\"\n";
    for (auto d : definitions)
        if (d->isPositional())
            if (auto words = positionalWords(stack, *d)) script += "    opts=\"$opts " + *words + "\"\n";
    script += "    if [[ $COMP_CWORD == \"" + wordIndex +
              "\" ]]; then\n"
              "        COMPREPLY=( $(compgen -W \"$opts\" -- \"$cur\") )\n"
              "        return\n"
              "    fi\n";

    std::vector<std::string> cases;
    for (auto d : definitions)
        if (d->isNamed() && d->takesValue()) cases.push_back(optionCase(stack, *d));
    if (!cases.empty()) script += indented("case $prev in\n" + indented(joined(cases, "\n"), 4) + "\nesac", 4) + "\n";

    // The subcommand's name stands at the word this function starts from;
    // its function starts from the word after it.
    if (!subcommands.empty()) {
        script += "    case ${COMP_WORDS[" + wordIndex + "]} in\n";
        for (auto sub : subcommands) {
            auto subStack = stack;
            subStack.push_back(sub);
            script += indented("(" + sub->commandName() + ")\n    " + completionFunctionName(subStack) + " " +
                                   nextIndex + "\n    return\n    ;;\n",
                               8);
        }
        script += "    esac\n";
    }
    script += "    COMPREPLY=( $(compgen -W \"$opts\" -- \"$cur\") )\n}\n";

    for (auto sub : subcommands) {
        auto subStack = stack;
        subStack.push_back(sub);
        appendCommandFunction(subStack, script);
    }
}

}  // namespace

std::string bashCompletionScript(const CommandType& root) {
    std::string script = "#!/bin/bash\n\n";
    appendCommandFunction({&root}, script);
    script += "\n\ncomplete -F " + completionFunctionName({&root}) + " " + root.commandName();
    return script;
}

}  // namespace ap
