#pragma once

namespace ap {

/// How visible a declared argument is. The order matters: a request at one
/// level includes everything at that level and below.
enum class ArgumentVisibility {
    default_,  ///< shown in help and completions
    hidden,    ///< only in the hidden-help listing; still parsed
    private_,  ///< never shown; still parsed
};

inline bool isVisible(ArgumentVisibility visibility, ArgumentVisibility atLevel) {
    return static_cast<int>(visibility) <= static_cast<int>(atLevel);
}

}  // namespace ap
