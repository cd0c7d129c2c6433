#pragma once
// Standard output and error as the tool writes them, and the one account of
// whether what was written to standard output arrived.
//
// No C++ stream is involved: an `std::ostream` brings the C++ library's
// locales into a static program, whose set-up and pages every start would
// pay for, and the tool only ever writes whole lines and whole texts.
//
// Output that cannot be written (a full disk, a closed descriptor, a pipe
// nobody reads) must not pass for success, nor end the program before it
// has done its work: a failed write leaves only stdio's error flag, and the
// end of the run asks `flushStandardOutput` whether everything arrived.

#include <string_view>

#include "platform/Error.hpp"

namespace platform {

/// Writes `line` and a newline to standard output at once, in its place
/// among everything else written there. A failure is kept for
/// `flushStandardOutput`.
void printLine(std::string_view line);

/// Where a line meant for standard output goes; `printLine` unless a caller
/// wants it elsewhere.
using LinePrinter = void (*)(std::string_view line);

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
