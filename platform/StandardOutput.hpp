#pragma once
// A stream onto standard output that costs nothing until it is first used.
//
// Including <iostream> makes every program set up the standard streams and
// their locales before `main`, whether it prints through them or not. Most
// runs of the tool print one help screen or one message with stdio, so the
// few places that format onto standard output use this stream instead.

#include <ostream>

namespace platform {

/// Standard output, written through stdio's `stdout` without a buffer of
/// its own, so its text keeps its place among everything else written there
/// and `std::fflush(stdout)` flushes it. Built on first use.
std::ostream& standardOutput();

}  // namespace platform
