#pragma once
// The machine-readable description of a command tree (--experimental-dump-help).

#include <string>

#include "ArgumentParser/BuiltinFlags.hpp"

namespace ap {

/// The pretty-printed, key-sorted JSON document describing the last command
/// of `stack` and everything below it.
std::string dumpHelp(const CommandStack& stack);

}  // namespace ap
