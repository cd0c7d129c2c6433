#pragma once
// JSON text written exactly as the application's platform writes it: the
// compact form of records, with "/" escaped as "\/" (the pretty form of the
// command description is PrettyJsonWriter's).

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace platform {

/// Appends `text` as a JSON string, escaped as `serializeJson` escapes it.
void appendJsonString(std::string_view text, std::string& out);

/// How many bytes at the start of `text` a JSON string holds as they are.
std::size_t unescapedLength(std::string_view text);
/// The escape of `c`, a byte `unescapedLength` stops at (`\n`, `\u0001`,
/// ...), written into `buffer` when it is not a constant.
std::string_view jsonEscape(char c, char (&buffer)[8]);

/// The compact text of `value`: no whitespace, members in key order, no
/// trailing newline.
std::string serializeJson(const nlohmann::json& value);

}  // namespace platform
