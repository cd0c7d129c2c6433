#pragma once
// Programming errors in declarations stop the program; nothing else does.

#include <string>

namespace ap {

[[noreturn]] void fatalError(const std::string& message);

}  // namespace ap
