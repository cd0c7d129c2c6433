// A pipe made with pipe, its ends made close-on-exec (and non-blocking) with
// fcntl right after (VARN_PIPE=fcntl): for systems without pipe2, and the
// default on macOS.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Pipe.hpp"

namespace platform {

int Pipe::open(bool nonBlocking) {
    int ends[2];
    if (::pipe(ends) != 0) return errno;
    read = FileDescriptor(ends[0]);
    write = FileDescriptor(ends[1]);
    for (int end : ends) {
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
        if (nonBlocking) ::fcntl(end, F_SETFL, O_NONBLOCK);
    }
    return 0;
}

}  // namespace platform
