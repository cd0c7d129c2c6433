#pragma once
// Everything a directory holds, all the way down, as paths relative to it.

#include <string>
#include <vector>

#include "platform/Error.hpp"

namespace platform {

/// The relative paths ("a.txt", "sub/c.txt") of everything below
/// `directory` that is not a directory itself (files, symbolic links and
/// the rest), in byte order. Symbolic links are listed, never followed. A
/// directory that cannot be read is an error naming it.
Result<std::vector<std::string>> filesBelow(const std::string& directory);

}  // namespace platform
