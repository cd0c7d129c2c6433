#include "ArgumentParser/ArgumentDefinition.hpp"

#include "ArgumentParser/SnakeCase.hpp"

namespace ap {

const Name* preferredName(const std::vector<Name>& names) {
    for (const auto& n : names)
        if (!n.isShort()) return &n;
    return names.empty() ? nullptr : &names.front();
}

std::string ArgumentDefinition::valueName() const {
    if (!help.valueName.empty()) return help.valueName;
    if (isNamed()) {
        if (auto name = preferredName()) return name->valueString();
    } else if (isPositional() && !help.keys.empty()) {
        return convertedToSnakeCase(help.keys.front().name, "-");
    }
    return "value";
}

}  // namespace ap
