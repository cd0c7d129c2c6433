#include "ArgumentParser/CompletionsGenerator.hpp"

#include <cstdlib>

#include "ArgumentParser/ArgumentSet.hpp"
#include "ArgumentParser/BashCompletionsGenerator.hpp"
#include "ArgumentParser/Fatal.hpp"
#include "ArgumentParser/FishCompletionsGenerator.hpp"
#include "ArgumentParser/HelpCommand.hpp"
#include "ArgumentParser/ZshCompletionsGenerator.hpp"

namespace ap {
namespace {

constexpr CompletionShell allShells[] = {CompletionShell::zsh, CompletionShell::bash, CompletionShell::fish};

std::optional<CompletionShell> shellNamed(std::string_view name) {
    for (auto shell : allShells)
        if (rawValue(shell) == name) return shell;
    return std::nullopt;
}

/// The pieces of `text` between `separator`s, empty pieces dropped.
std::vector<std::string> nonEmptyPieces(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

}  // namespace

std::string rawValue(CompletionShell shell) {
    switch (shell) {
        case CompletionShell::zsh: return "zsh";
        case CompletionShell::bash: return "bash";
        case CompletionShell::fish: return "fish";
    }
    return std::to_string(static_cast<int>(shell));
}

std::string supportedShellList() {
    std::vector<std::string> names;
    for (auto shell : allShells) names.push_back(rawValue(shell));
    return completions::joined(names, " ");
}

platform::Expected<CompletionShell, ParserError> resolveCompletionShell(const std::optional<std::string>& name) {
    std::optional<std::string> shellVariable;
    if (const char* value = std::getenv("SHELL")) shellVariable = value;
    return resolveCompletionShell(name, shellVariable);
}

platform::Expected<CompletionShell, ParserError> resolveCompletionShell(
    const std::optional<std::string>& name, const std::optional<std::string>& shellVariable) {
    if (name) {
        if (auto shell = shellNamed(*name)) return *shell;
        return ParserError{ParserError::UnsupportedShell{name}};
    }
    if (shellVariable) {
        auto pieces = nonEmptyPieces(*shellVariable, '/');
        if (!pieces.empty())
            if (auto shell = shellNamed(pieces.back())) return *shell;
    }
    return ParserError{ParserError::UnsupportedShell{std::nullopt}};
}

std::string generateCompletionScript(CompletionShell shell, const CommandType& root) {
    switch (shell) {
        case CompletionShell::zsh: return zshCompletionScript(root);
        case CompletionShell::bash: return bashCompletionScript(root);
        case CompletionShell::fish: return fishCompletionScript(root);
    }
    fatalError("Invalid CompletionShell: " + rawValue(shell));
}

std::string completionFunctionName(const CommandStack& stack, bool replacingDashes) {
    // Built in place: every script asks for a name per command, some twice.
    std::string name = "_";
    std::string_view last;
    for (auto command : stack) {
        std::string_view rest = command->commandName();
        while (!rest.empty()) {
            auto space = rest.find(' ');
            auto piece = rest.substr(0, space);
            rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
            if (piece.empty() || piece == last) continue;
            if (!last.empty()) name += '_';
            name += piece;
            last = piece;
        }
    }
    if (replacingDashes)
        for (auto& c : name)
            if (c == '-') c = '_';
    return name;
}

std::vector<const CommandType*> listedSubcommands(const CommandStack& stack) {
    std::vector<const CommandType*> listed;
    for (auto sub : subcommandsOf(*stack.back()))
        if (sub->configuration().shouldDisplay) listed.push_back(sub);
    if (stack.size() == 1 && !listed.empty()) listed.push_back(&typeOf<HelpCommand>());
    return listed;
}

std::vector<const ArgumentDefinition*> completionDefinitions(const CommandStack& stack) {
    std::vector<const ArgumentDefinition*> definitions;
    // Default-kind definitions only carry a value; nothing can be typed for them.
    for (auto d : ArgumentSet(*stack.back(), ArgumentVisibility::default_).content)
        if (d->isNamed() || d->isPositional()) definitions.push_back(d);
    for (const auto& flag : builtinFlagDefinitions(stack)) definitions.push_back(&flag);
    return definitions;
}

std::vector<std::string> completionOptionNames(const CommandStack& stack) {
    std::vector<std::string> names;
    for (auto d : completionDefinitions(stack))
        if (d->isNamed())
            for (const auto& name : d->names) names.push_back(name.synopsis());
    return names;
}

std::string customCompletionCall(const CommandStack& stack, const ArgumentDefinition& definition) {
    std::vector<std::string> path;
    for (std::size_t i = 1; i < stack.size(); ++i) path.push_back(stack[i]->commandName());
    std::string identifier = "---";
    if (definition.isNamed()) {
        if (auto name = definition.preferredName()) identifier = name->synopsis();
    } else if (!definition.help.keys.empty()) {
        identifier = definition.help.keys.front().name;
    }
    return "---completion " + completions::joined(path, " ") + " -- " + identifier;
}

}  // namespace ap

namespace ap::completions {

std::string indented(std::string_view text, std::size_t n) {
    std::string result;
    std::size_t start = 0;
    while (true) {
        auto end = text.find('\n', start);
        auto line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty()) result.append(n, ' ');
        result += line;
        if (end == std::string_view::npos) break;
        result += '\n';
        start = end + 1;
    }
    return result;
}

std::string joined(const std::vector<std::string>& items, std::string_view separator) {
    std::string result;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) result += separator;
        result += items[i];
    }
    return result;
}

}  // namespace ap::completions
