#pragma once
// The zsh completion script of a command tree.

#include <string>

#include "ArgumentParser/ParsableCommand.hpp"

namespace ap {

std::string zshCompletionScript(const CommandType& root);

}  // namespace ap
