#pragma once
// JSON text written exactly as the application's platform writes it: the
// compact form of records, with "/" escaped as "\/" (the pretty form of the
// command description is PrettyJsonWriter's). The escapes are this file's
// alone: what is escaped, how, and whether a text is written so.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace platform {

/// Appends `text` as a JSON string, escaped as `serializeJson` escapes it.
void appendJsonString(std::string_view text, std::string& out);

/// How many bytes at the start of `text` a JSON string holds as they are.
std::size_t unescapedLength(std::string_view text);

/// The size of the JSON string that `text` starts with, when it is exactly
/// what `appendJsonString` writes for some text; nothing otherwise. For a
/// writer's own text read back, which then needs no unescaping.
std::optional<std::size_t> writtenJsonStringSize(std::string_view text);

/// The compact text of `value`: no whitespace, members in key order, no
/// trailing newline.
std::string serializeJson(const nlohmann::json& value);

}  // namespace platform
