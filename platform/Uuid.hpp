#pragma once
// Random (version 4) UUIDs in their canonical text form.

#include <string>

namespace platform {

/// A new random UUID: 36 characters, upper-case hexadecimal in groups of
/// 8-4-4-4-12 separated by "-", for example
/// "3F2504E0-4F89-41D3-9A0C-0305E82C3301".
std::string makeUuid();

}  // namespace platform
