#pragma once
// One name of an argument in the command description: how it is written
// and its text without dashes.

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "ArgumentParser/Name.hpp"
#include "ArgumentParser/ToolInfoDecoding.hpp"
#include "platform/PrettyJsonWriter.hpp"

namespace ap {

struct NameInfoV0 {
    /// Encoded as the case names "long", "short" and "longWithSingleDash".
    enum class KindV0 { long_, short_, longWithSingleDash };

    KindV0 kind = KindV0::long_;
    /// For a short name its single character.
    std::string name;

    static Decoded<NameInfoV0> decode(const nlohmann::json& value, const std::string& path);

    /// The name as typed: "--" and the text, or "-" and the text.
    std::string synopsis() const;

    friend bool operator==(const NameInfoV0&, const NameInfoV0&) = default;
};

std::string_view caseName(NameInfoV0::KindV0 kind);
std::optional<NameInfoV0::KindV0> nameKindV0(std::string_view caseName);

/// Members in key order, as every level of the description.
void writeJson(platform::PrettyJsonWriter& out, const NameInfoV0& name);
/// The description of a declared name, written as `writeJson` writes its
/// decoded form.
void writeJson(platform::PrettyJsonWriter& out, const Name& name);

}  // namespace ap
