#include "cli/VerboseLog.hpp"

#include "platform/ProcessInfo.hpp"

namespace varn {

bool verboseLoggingEnabled() {
    auto value = platform::environmentValue("VARNEL_VERBOSE");
    return value && !value->empty();
}

}  // namespace varn
