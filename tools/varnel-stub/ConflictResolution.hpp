#pragma once
// Resolving git's conflict blocks by keeping one side, as a user who picks
// "ours" or "theirs" for every conflict would:
//
//   <<<<<<< ours-label
//   our lines
//   ||||||| base-label        (diff3 and zdiff3 styles only)
//   base lines
//   =======
//   their lines
//   >>>>>>> their-label
//
// Markers are seven characters long unless the file's conflict-marker-size
// says otherwise; the opening marker sets the length for its block, so
// markers of another length inside it are plain content.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Error.hpp"

namespace varnelstub {

enum class Side { ours, theirs };

struct Resolution {
    /// The text with every block replaced by the kept side's lines.
    std::string text;
    /// How many blocks were resolved.
    std::size_t conflicts = 0;
};

/// Every conflict block of `text` resolved to `side`; everything outside
/// the blocks, line endings included, is kept as it is. A block that is not
/// closed, or a marker out of place, is an error naming its line.
platform::Result<Resolution> resolveConflicts(std::string_view text, Side side);

}  // namespace varnelstub
