#include "cli/RemoveQuarantine.hpp"

#include "platform/Process.hpp"

namespace varn {

void removeQuarantine(const std::string& path) {
    auto xattr = platform::Process::launch("/usr/bin/xattr", {"-d", "-r", "com.apple.quarantine", path});
    if (xattr) (void)xattr->waitUntilExit();
}

}  // namespace varn
