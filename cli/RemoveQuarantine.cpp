#include "cli/RemoveQuarantine.hpp"

#include <unistd.h>

#include "platform/Process.hpp"

namespace varn {

void removeQuarantine(const std::string& path) {
    static constexpr const char* xattr = "/usr/bin/xattr";
    // Where the program does not exist (anywhere but macOS) its launch would
    // fail and be ignored; finding that out costs a child process, and a
    // difftool run has two such calls.
    if (::access(xattr, X_OK) != 0) return;
    auto run = platform::Process::launch(xattr, {"-d", "-r", "com.apple.quarantine", path});
    if (run) (void)run->waitUntilExit();
}

}  // namespace varn
