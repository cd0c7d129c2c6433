#pragma once
// One kind of thing the launcher can hand the stand-in application: it
// recognises its targets and acts on them.

#include <string>
#include <string_view>

#include "platform/Error.hpp"

namespace varnelstub {

struct Delivery {
    /// The first field of the delivery's log line, for example "merge".
    std::string_view kind;
    /// The target is one of this kind's.
    bool (*accepts)(const std::string& target);
    /// Acts on the target; what was done, for the log. An error says what
    /// went wrong and what, if anything, was still reported.
    platform::Result<std::string> (*deliver)(const std::string& target);
};

}  // namespace varnelstub
