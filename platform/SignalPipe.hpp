#pragma once
// Signals turned into bytes on a pipe. While a SignalPipe lives, each of its
// signals that arrives writes its number to the pipe, so a process that
// sleeps in poll on several descriptors also wakes for a signal and learns
// which one came, with nothing else to do in the handler. Only one may live
// at a time; the earlier dispositions come back when it ends.

#include <signal.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/Error.hpp"
#include "platform/Pipe.hpp"

namespace platform {

class SignalPipe {
public:
    /// Starts catching `signals`. A signal other than SIGCHLD that is
    /// ignored on entry stays ignored, as a job started without job control
    /// expects of its interrupt and quit keys.
    static Result<SignalPipe> catching(std::initializer_list<int> signals);

    SignalPipe(SignalPipe&& other) noexcept = default;
    SignalPipe& operator=(SignalPipe&& other) noexcept = delete;
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;
    ~SignalPipe();

    /// Readable once a signal has arrived.
    int descriptor() const { return pipe_.read.get(); }

    /// The signals that arrived since the last call, oldest first; none,
    /// without waiting, when none did.
    std::vector<int> take();

private:
    SignalPipe() = default;

    Pipe pipe_;
    std::vector<std::pair<int, struct sigaction>> previous_;
};

}  // namespace platform
