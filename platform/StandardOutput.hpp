#pragma once
// Standard output: a stream onto it that costs nothing until it is first
// used, and the one account of whether what was written there arrived.
//
// Including <iostream> makes every program set up the standard streams and
// their locales before `main`, whether it prints through them or not. Most
// runs of the tool print one help screen or one message with stdio, so the
// few places that format onto standard output use this stream instead.
//
// Output that cannot be written (a full disk, a closed descriptor, a pipe
// nobody reads) must not pass for success, nor end the program before it
// has done its work: a failed write leaves only stdio's error flag, and the
// end of the run asks `flushStandardOutput` whether everything arrived.

#include <ostream>
#include <string_view>

#include "platform/Error.hpp"

namespace platform {

/// Standard output, written through stdio's `stdout` without a buffer of
/// its own, so its text keeps its place among everything else written there
/// and `std::fflush(stdout)` flushes it. Built on first use.
std::ostream& standardOutput();

/// Writes `text` and then `end` to standard output in one system call
/// (while the descriptor takes it all), after whatever stdio still holds
/// for it and without stdio's buffer: a help screen or a script and its
/// final newline, neither copied. A failure is kept for `flushStandardOutput`.
void writeStandardOutput(std::string_view text, std::string_view end = {});
/// The same on standard error, whose failures nobody can be told of.
void writeStandardError(std::string_view text, std::string_view end = {});

/// Makes a failed write to the standard streams a failure the program sees:
/// a pipe whose reader is gone no longer ends the process with SIGPIPE (the
/// write fails with EPIPE), and a closed standard descriptor is held by one
/// that refuses writes, so no file the program opens takes its number and
/// receives what was meant for standard output.
void prepareStandardStreams();

/// Flushes standard output. An error when this flush, or any write to
/// standard output before it, failed: "Cannot write to standard output"
/// and the reason of the first failure.
Result<void> flushStandardOutput();

}  // namespace platform
