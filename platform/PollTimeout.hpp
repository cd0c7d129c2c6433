#pragma once
// The timeout poll takes for a wait that ends at a deadline.

#include <chrono>

namespace platform {

/// Milliseconds left until `deadline`, rounded up so that a wait never ends
/// before it, and clamped to what poll takes; 0 once it has passed.
int pollTimeoutUntil(std::chrono::steady_clock::time_point deadline);

}  // namespace platform
