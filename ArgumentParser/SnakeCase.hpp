#pragma once
// The naming rule that turns property and type names into long option names
// and command names: revspecA -> revspec-a, URLSession -> url-session.

#include <string>
#include <string_view>

namespace ap {

std::string convertedToSnakeCase(std::string_view text, std::string_view separator = "_");

}  // namespace ap
