#pragma once
// The bracketed list form of texts in the verbose log: ["a", "b"], each
// text quoted as in a session's identity.

#include <string>
#include <vector>

namespace varn {

/// "[" + the quoted texts joined with ", " + "]"; "[]" for none.
std::string quotedList(const std::vector<std::string>& texts);

}  // namespace varn
