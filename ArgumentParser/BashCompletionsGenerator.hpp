#pragma once
// The bash completion script of a command tree.

#include <string>

#include "ArgumentParser/ParsableCommand.hpp"

namespace ap {

std::string bashCompletionScript(const CommandType& root);

}  // namespace ap
