// Placeholder until the generators land: every shell gets an empty script.
#include "ArgumentParser/CompletionsGenerator.hpp"

#include <cstdlib>

namespace ap {

std::string rawValue(CompletionShell shell) {
    switch (shell) {
        case CompletionShell::zsh: return "zsh";
        case CompletionShell::bash: return "bash";
        case CompletionShell::fish: return "fish";
    }
    return {};
}

std::string supportedShellList() { return "zsh bash fish"; }

platform::Expected<CompletionShell, ParserError> resolveCompletionShell(const std::optional<std::string>& name) {
    (void)name;
    return ParserError{ParserError::UnsupportedShell{name}};
}

std::string generateCompletionScript(CompletionShell, const CommandType&) { return {}; }

}  // namespace ap
