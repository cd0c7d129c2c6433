#include "ArgumentParser/Declarations.hpp"

namespace ap::detail {
namespace {

// The name elements of one side of an inverted flag.
std::vector<NameSpecification::Element> invertedElements(const NameSpecification& names, FlagInversion inversion,
                                                         bool enabling, const InputKey& key) {
    using Kind = NameSpecification::Element::Kind;
    std::vector<NameSpecification::Element> result;
    for (const auto& e : names.elements) {
        bool isLong = e.kind == Kind::long_ || e.kind == Kind::customLong;
        if (inversion == FlagInversion::prefixedNo) {
            if (enabling)
                result.push_back(e);
            else if (isLong)
                result.push_back(e.prefixed("no", key));
        } else if (isLong) {
            result.push_back(e.prefixed(enabling ? "enable" : "disable", key));
        } else if (enabling) {
            result.push_back(e);
        }
    }
    return result;
}

}  // namespace

ArgumentDefinition DeclaredArguments::definition(ArgumentDefinition::Kind kind, const InputKey& key,
                                                 const ArgumentHelp& help) const {
    ArgumentDefinition def;
    def.kind = kind;
    def.help.keys = {key};
    def.help.abstract = help.abstract;
    def.help.discussion = help.discussion;
    def.help.valueName = help.valueName.value_or("");
    def.help.visibility = moreRestricted(help.visibility, visibility_);
    def.help.parentTitle = title_;
    return def;
}

ArgumentDefinition DeclaredArguments::valued(ArgumentDefinition::Kind kind, const InputKey& key,
                                             std::vector<Name> names, ParsingStrategy strategy,
                                             const ArgumentHelp& help, const std::optional<CompletionKind>& completion,
                                             std::vector<std::string> allValueStrings) const {
    auto def = definition(kind, key, help);
    def.names = std::move(names);
    def.parsingStrategy = strategy;
    def.help.allValueStrings = std::move(allValueStrings);
    def.completion = completion                         ? *completion
                     : def.help.allValueStrings.empty() ? CompletionKind::default_()
                                                        : CompletionKind::list(def.help.allValueStrings);
    return def;
}

void DeclaredArguments::declareOnOff(const InputKey& key, const FlagDeclaration& d, bool initial, bool required) {
    auto enabling = definition(ArgumentDefinition::Kind::named, key, d.help);
    enabling.help.isOptional = !required;
    enabling.update = storesFlag(key, true, d.exclusivity);
    if (!d.inversion) {
        enabling.names = d.name.makeNames(key);
        if (!required) enabling.initial = storesDefault(key, initial);
        definitions.push_back(std::move(enabling));
        return;
    }
    auto disabling = enabling;
    disabling.update = storesFlag(key, false, d.exclusivity);
    enabling.help.isComposite = disabling.help.isComposite = true;
    enabling.names = NameSpecification(invertedElements(d.name, *d.inversion, true, key)).makeNames(key);
    disabling.names = NameSpecification(invertedElements(d.name, *d.inversion, false, key)).makeNames(key);
    if (!required) enabling.initial = storesDefault(key, initial);
    definitions.push_back(std::move(enabling));
    definitions.push_back(std::move(disabling));
}

void DeclaredArguments::declareCounted(const InputKey& key, const FlagDeclaration& d) {
    auto def = definition(ArgumentDefinition::Kind::named, key, d.help);
    def.names = d.name.makeNames(key);
    def.help.isOptional = def.help.isRepeating = true;
    def.initial = storesDefault(key, 0);
    def.update = ArgumentDefinition::Nullary{[key](const InputOrigin& origin, const std::optional<Name>&,
                                                   ParsedValues& values) -> std::optional<ParserError> {
        auto e = values.element(key);
        int count = e && !e->inputOrigin.isDefaultValue() ? std::any_cast<int>(e->value) : 0;
        values.set(key, count + 1, origin);
        return std::nullopt;
    }};
    definitions.push_back(std::move(def));
}

ParserError unparsable(const InputKey& key, const InputOrigin& origin, const std::optional<Name>& name,
                       const std::string& text, std::optional<std::string> reason) {
    return ParserError{ParserError::UnableToParseValue{origin, name, text, key, std::move(reason)}};
}

}  // namespace ap::detail
