#pragma once
// The fish completion script of a command tree.

#include <string>

#include "ArgumentParser/ParsableCommand.hpp"

namespace ap {

std::string fishCompletionScript(const CommandType& root);

}  // namespace ap
