#pragma once
// The wait of a merge run, once the application has been handed its request:
// one sleep in the kernel over the hand-off directory's watch and the
// signals, until the verdict arrives, the launcher fails, the directory goes
// away, the run is interrupted or the limit passes.

#include "ArgumentParser/Errors.hpp"
#include "platform/Process.hpp"
#include "platform/SignalPipe.hpp"
#include "shared/MergeToolStatusWatcher.hpp"

namespace varn {

/// Waits for the verdict in the directory `watcher` watches, until
/// `deadline`. `signals` catches SIGCHLD, at which the `launcher` is reaped
/// and its status looked at, and the interruptions that end the run.
///
/// What ends the run: the verdict, as `ap::ExitCode`; SIGINT, SIGTERM or
/// SIGHUP, as `ap::ExitCode` 128 + the signal's number; a launcher that
/// exits other than with 0 or is killed, a hand-off directory that goes
/// away or is replaced, or the deadline, as an error. Except after a
/// verdict, the hand-off directory is removed first.
ap::Error awaitVerdict(VarnShared::MergeToolStatusWatcher& watcher, platform::Process& launcher,
                       platform::SignalPipe& signals, VarnShared::MergeToolStatusWatcher::Clock::time_point deadline);

}  // namespace varn
