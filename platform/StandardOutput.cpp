#include "platform/StandardOutput.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/FileDescriptor.hpp"

namespace platform {
namespace {

/// Why a flush of standard output first failed; 0 while none has. stdio
/// keeps only that one did.
int firstFailure = 0;

void noteFailure(int errnum) {
    if (firstFailure == 0) firstFailure = errnum;
}

/// Writes both pieces, in as few system calls as the descriptor allows;
/// the reason it stopped, or 0.
int writeAll(int descriptor, std::string_view text, std::string_view end) {
    std::string_view pieces[] = {text, end};
    std::size_t first = 0;
    while (true) {
        while (first < 2 && pieces[first].empty()) ++first;
        if (first == 2) return 0;
        iovec vector[2];
        int count = 0;
        for (auto i = first; i < 2; ++i) vector[count++] = {const_cast<char*>(pieces[i].data()), pieces[i].size()};
        auto written = ::writev(descriptor, vector, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : EIO;
        for (auto left = static_cast<std::size_t>(written); left > 0; ++first) {
            auto taken = std::min(left, pieces[first].size());
            pieces[first].remove_prefix(taken);
            left -= taken;
            if (!pieces[first].empty()) break;
        }
    }
}

}  // namespace

void printLine(std::string_view line) {
    // Written at once rather than through stdio, which gives a write that a
    // signal interrupts up as failed: the tool writes a few lines a run.
    writeStandardOutput(line, "\n");
}

void writeStandardOutput(std::string_view text, std::string_view end) {
    if (std::fflush(stdout) != 0) noteFailure(errno);
    if (int failure = writeAll(STDOUT_FILENO, text, end)) noteFailure(failure);
}

void writeStandardError(std::string_view text, std::string_view end) {
    std::fflush(stderr);
    writeAll(STDERR_FILENO, text, end);
}

void prepareStandardStreams() {
    ::signal(SIGPIPE, SIG_IGN);
    // In order, so that the lowest free number, which `open` returns, is the
    // closed descriptor's own.
    for (int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
        // Read-only: a write fails with EBADF, as on the closed descriptor.
        int held = openRetrying(AT_FDCWD, "/dev/null", O_RDONLY);
        if (held != descriptor && held >= 0) ::close(held);
    }
}

Result<void> flushStandardOutput() {
    if (std::fflush(stdout) != 0) noteFailure(errno);
    // A failure stdio met in a write of its own, its reason gone.
    if (std::ferror(stdout)) noteFailure(EIO);
    if (firstFailure != 0) return Error::posix(firstFailure, "Cannot write to standard output");
    return {};
}

}  // namespace platform
