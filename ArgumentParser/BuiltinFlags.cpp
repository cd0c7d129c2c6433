#include "ArgumentParser/BuiltinFlags.hpp"

#include <algorithm>

namespace ap {
namespace {

ArgumentDefinition flagDefinition(std::vector<Name> names, const char* key, const char* abstract) {
    ArgumentDefinition d;
    d.kind = ArgumentDefinition::Kind::named;
    d.names = std::move(names);
    d.help.isOptional = true;
    d.help.keys = {InputKey(key)};
    d.help.abstract = abstract;
    d.update = ArgumentDefinition::Nullary{
        [](const InputOrigin&, const std::optional<Name>&, ParsedValues&) { return std::optional<ParserError>{}; }};
    return d;
}

}  // namespace

std::vector<Name> helpNames(const CommandStack& stack) {
    NameSpecification declared = NameSpecification::shortAndLong();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (const auto& names = (*it)->configuration().helpNames) {
            declared = *names;
            break;
        }
    }
    auto names = declared.makeNames(InputKey("help"));
    std::stable_sort(names.begin(), names.end(),
                     [](const Name& a, const Name& b) { return a.synopsis() < b.synopsis(); });
    return names;
}

std::vector<Name> hiddenHelpNames(const CommandStack& stack) {
    std::vector<Name> names;
    for (const auto& n : helpNames(stack)) {
        if (n.kind() == Name::Kind::long_) names.push_back(Name::long_(n.valueString() + "-hidden"));
        if (n.kind() == Name::Kind::longWithSingleDash)
            names.push_back(Name::longWithSingleDash(n.valueString() + "-hidden"));
    }
    return names;
}

std::optional<Name> preferredHelpName(const CommandStack& stack) {
    auto names = helpNames(stack);
    if (auto p = preferredName(names)) return *p;
    return std::nullopt;
}

bool hasVersion(const CommandStack& stack) {
    return std::any_of(stack.begin(), stack.end(), [](auto c) { return !c->configuration().version.empty(); });
}

std::string versionText(const CommandStack& stack) {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if (!(*it)->configuration().version.empty()) return (*it)->configuration().version;
    return "Unspecified version";
}

std::vector<ArgumentDefinition> builtinFlagDefinitions(const CommandStack& stack) {
    std::vector<ArgumentDefinition> flags;
    if (hasVersion(stack)) flags.push_back(flagDefinition({Name::long_("version")}, "version", "Show the version."));
    if (auto names = helpNames(stack); !names.empty())
        flags.push_back(flagDefinition(std::move(names), "help", "Show help information."));
    return flags;
}

}  // namespace ap
