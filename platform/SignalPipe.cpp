#include "platform/SignalPipe.hpp"

#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace platform {
namespace {

/// The pipe's write end while a SignalPipe lives, for the handler.
volatile std::sig_atomic_t writeEnd = -1;

void writeSignalNumber(int signal) {
    int saved = errno;
    unsigned char number = static_cast<unsigned char>(signal);
    if (::write(writeEnd, &number, 1) != 1) {
        // A full pipe drops the byte (EAGAIN): enough of them are waiting
        // to be read.
    }
    errno = saved;
}

}  // namespace

Result<SignalPipe> SignalPipe::catching(std::initializer_list<int> signals) {
    auto failure = [](int err) { return Error::posix(err, "Cannot catch signals"); };
    SignalPipe pipe;
    if (int err = pipe.pipe_.open(/*nonBlocking=*/true)) return failure(err);
    writeEnd = pipe.pipe_.write.get();
    for (int signal : signals) {
        struct sigaction previous;
        if (::sigaction(signal, nullptr, &previous) != 0) return failure(errno);
        if (previous.sa_handler == SIG_IGN && signal != SIGCHLD) continue;
        struct sigaction action = {};
        action.sa_handler = writeSignalNumber;
        sigemptyset(&action.sa_mask);
        // Restarted, so that no other call of the process sees EINTR.
        action.sa_flags = SA_RESTART | (signal == SIGCHLD ? SA_NOCLDSTOP : 0);
        if (::sigaction(signal, &action, nullptr) != 0) return failure(errno);
        pipe.previous_.emplace_back(signal, previous);
    }
    return pipe;
}

SignalPipe::~SignalPipe() {
    if (!pipe_.write) return;
    for (const auto& [signal, previous] : previous_) ::sigaction(signal, &previous, nullptr);
    writeEnd = -1;
}

std::vector<int> SignalPipe::take() {
    std::vector<int> arrived;
    unsigned char numbers[64];
    while (true) {
        auto n = ::read(pipe_.read.get(), numbers, sizeof numbers);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return arrived;
        arrived.insert(arrived.end(), numbers, numbers + n);
    }
}

}  // namespace platform
