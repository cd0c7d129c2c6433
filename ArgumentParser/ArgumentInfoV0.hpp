#pragma once
// One argument of a command in the command description. Empty texts and
// lists of a declaration are absent here, and absent members are left out
// of the JSON.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "ArgumentParser/ArgumentDefinition.hpp"
#include "ArgumentParser/NameInfoV0.hpp"
#include "ArgumentParser/ToolInfoDecoding.hpp"

namespace ap {

struct ArgumentInfoV0 {
    /// Encoded as the case names "positional", "option" and "flag".
    enum class KindV0 { positional, option, flag };

    KindV0 kind = KindV0::positional;
    /// Whether the argument is shown in the plain help.
    bool shouldDisplay = true;
    /// The title of the option group it belongs to.
    std::optional<std::string> sectionTitle;
    bool isOptional = false;
    bool isRepeating = false;
    /// Every name, in declared order; absent for positionals.
    std::optional<std::vector<NameInfoV0>> names;
    /// The name synopses use; absent for positionals.
    std::optional<NameInfoV0> preferredName;
    std::optional<std::string> valueName;
    std::optional<std::string> defaultValue;
    std::optional<std::vector<std::string>> allValues;
    std::optional<std::string> abstract;
    std::optional<std::string> discussion;

    static Decoded<ArgumentInfoV0> decode(const nlohmann::json& value, const std::string& path);

    friend bool operator==(const ArgumentInfoV0&, const ArgumentInfoV0&) = default;
};

std::string_view caseName(ArgumentInfoV0::KindV0 kind);
std::optional<ArgumentInfoV0::KindV0> argumentKindV0(std::string_view caseName);

void writeJson(platform::PrettyJsonWriter& out, const ArgumentInfoV0& argument);
/// The description of a named or positional definition, written straight
/// from it as `writeJson` writes its decoded form: empty texts and lists
/// left out.
void writeJson(platform::PrettyJsonWriter& out, const ArgumentDefinition& definition);

}  // namespace ap
