// Placeholder until the description lands.
#include "ArgumentParser/ToolInfo.hpp"

namespace ap {

std::string dumpHelp(const CommandStack&) { return {}; }

}  // namespace ap
