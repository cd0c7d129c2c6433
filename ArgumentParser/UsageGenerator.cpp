#include "ArgumentParser/UsageGenerator.hpp"

#include "ArgumentParser/Fatal.hpp"

namespace ap {
namespace {

std::string joined(const std::vector<const ArgumentDefinition*>& definitions) {
    std::string out;
    for (auto d : definitions) {
        if (!out.empty()) out += ' ';
        out += synopsis(*d);
    }
    return out;
}

}  // namespace

std::string synopsis(const ArgumentDefinition& definition, bool includingBrackets) {
    std::string s;
    switch (definition.kind) {
        case ArgumentDefinition::Kind::positional: s = "<" + definition.valueName() + ">"; break;
        case ArgumentDefinition::Kind::named: {
            auto name = definition.preferredName();
            if (!name) fatalError("preferredName cannot be nil for named arguments");
            s = name->synopsis();
            if (definition.takesValue()) s += " <" + definition.valueName() + ">";
            break;
        }
        case ArgumentDefinition::Kind::default_: return {};
    }
    if (definition.help.isRepeating) s += " ...";
    if (includingBrackets && definition.help.isOptional) s = "[" + s + "]";
    if (definition.parsingStrategy == ParsingStrategy::postTerminator) s = "-- " + s;
    return s;
}

UsageGenerator::UsageGenerator(std::string toolName, std::vector<ArgumentDefinition> definitions)
    : toolName_(std::move(toolName)), definitions_(std::move(definitions)) {}

std::string UsageGenerator::synopsis() const {
    std::vector<const ArgumentDefinition*> all;
    for (const auto& d : definitions_) all.push_back(&d);
    return usageSynopsis(toolName_, all);
}

std::string usageSynopsis(const std::string& toolName, const std::vector<const ArgumentDefinition*>& definitions) {
    std::vector<const ArgumentDefinition*> all;
    // Definitions that only supply a property's default have nothing to show.
    for (auto d : definitions)
        if (d->kind != ArgumentDefinition::Kind::default_) all.push_back(d);
    if (all.empty()) return toolName;
    if (all.size() <= UsageGenerator::compactionThreshold) return toolName + " " + joined(all);

    std::vector<const ArgumentDefinition*> essential;
    for (auto d : all)
        if (d->isPositional() || !d->help.isOptional) essential.push_back(d);
    if (!essential.empty() && essential.size() <= UsageGenerator::compactionThreshold)
        return toolName + " [<options>] " + joined(essential);
    return toolName + " <options>";
}

}  // namespace ap
