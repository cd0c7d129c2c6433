#include "cli/Mergetool.hpp"

#include "cli/MergeHandOff.hpp"

namespace varn {

// git hands over four files; the application works on the merged one, in
// place in the work tree that holds it.
ap::Result<void> Mergetool::run() { return mergeHandOff(merged, MergeRepository::holdingTheEntry); }

}  // namespace varn
