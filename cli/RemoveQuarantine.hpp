#pragma once
// Clearing the download quarantine from a repository before the
// application opens it.

#include <string>

namespace varn {

/// Runs `/usr/bin/xattr -d -r com.apple.quarantine path` and waits for it.
/// Whether it could start, and how it ended, does not matter.
void removeQuarantine(const std::string& path);

}  // namespace varn
