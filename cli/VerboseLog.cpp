#include "cli/VerboseLog.hpp"

#include "platform/ProcessInfo.hpp"
#include "platform/StandardOutput.hpp"

namespace varn {

bool verboseLoggingEnabled() {
    auto value = platform::environmentValue("VARNEL_VERBOSE");
    return value && !value->empty();
}

void logVerbose(std::string_view line) {
    if (verboseLoggingEnabled()) platform::printLine(line);
}

}  // namespace varn
