#pragma once
// A manual page in section 1, written as man-macro roff from a command
// description: name, synopsis, description, the root's arguments, the
// visible subcommands with theirs, then sections the caller supplies.

#include <string>
#include <vector>

#include "ArgumentParser/ToolInfo.hpp"

namespace varnman {

/// A section given as roff source (ending in a newline).
struct ManSection {
    std::string title;
    std::string roff;
};

struct ManPageSettings {
    /// The footer's date; none when empty.
    std::string date;
    /// The footer's source, such as the tool's name and version; the
    /// command's name when empty.
    std::string source;
    /// Written after the commands, in this order.
    std::vector<ManSection> sections;
};

std::string manPage(const ap::ToolInfoV0& description, const ManPageSettings& settings);

}  // namespace varnman
