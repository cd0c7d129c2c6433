#pragma once
// JSON text written exactly as the application's platform writes it: the
// compact form of records, and the pretty, key-sorted form of the command
// description. Both escape "/" as "\/".

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace platform {

enum class JsonStyle {
    /// No whitespace between tokens, no trailing newline.
    compact,
    /// Two-space indentation, `"key" : value`, keys sorted, no trailing newline.
    pretty,
};

/// Appends `text` as a JSON string, escaped as `serializeJson` escapes it.
void appendJsonString(std::string_view text, std::string& out);

std::string serializeJson(const nlohmann::json& value, JsonStyle style = JsonStyle::compact);

}  // namespace platform
