#include "ArgumentParser/BuiltinFlags.hpp"

#include <algorithm>
#include <forward_list>

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

const NameSpecification* declaredHelpNames(const CommandStack& stack) {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if (const auto& names = (*it)->configuration().helpNames) return &*names;
    return nullptr;
}

/// Every run asks for the built-in names at each step of its parse and for
/// every command a script or description lists: they are made once for
/// each declaration of help names (or none) and version (or none), and,
/// like the command types that declare them, kept until the program ends
/// (and, like them, made on the one thread that parses).
struct Builtins {
    const NameSpecification* declared;
    bool version;
    std::vector<Name> help;
    std::vector<Name> hiddenHelp;
    std::vector<ArgumentDefinition> flags;

    Builtins(const NameSpecification* declared, bool version) : declared(declared), version(version) {
        help = (declared ? *declared : NameSpecification::shortAndLong()).makeNames(InputKey("help"));
        std::stable_sort(help.begin(), help.end(),
                         [](const Name& a, const Name& b) { return a.synopsis() < b.synopsis(); });
        for (const auto& n : help) {
            if (n.kind() == Name::Kind::long_) hiddenHelp.push_back(Name::long_(n.valueString() + "-hidden"));
            if (n.kind() == Name::Kind::longWithSingleDash)
                hiddenHelp.push_back(Name::longWithSingleDash(n.valueString() + "-hidden"));
        }
        if (version) flags.push_back(flagDefinition({Name::long_("version")}, "version", "Show the version."));
        if (!help.empty()) flags.push_back(flagDefinition(help, "help", "Show help information."));
    }
};

const Builtins& builtins(const CommandStack& stack) {
    static auto& made = *new std::forward_list<Builtins>;
    auto declared = declaredHelpNames(stack);
    bool version = hasVersion(stack);
    for (const auto& b : made)
        if (b.declared == declared && b.version == version) return b;
    return made.emplace_front(declared, version);
}

}  // namespace

const std::vector<Name>& helpNames(const CommandStack& stack) { return builtins(stack).help; }

const std::vector<Name>& hiddenHelpNames(const CommandStack& stack) { return builtins(stack).hiddenHelp; }

std::optional<Name> preferredHelpName(const CommandStack& stack) {
    if (auto p = preferredName(helpNames(stack))) return *p;
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

const std::vector<ArgumentDefinition>& builtinFlagDefinitions(const CommandStack& stack) {
    return builtins(stack).flags;
}

}  // namespace ap
