// A pipe made with pipe2 (VARN_PIPE=pipe2, the default on Linux): both ends
// close-on-exec as the pipe is made, so no program another thread starts
// meanwhile can inherit them.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Pipe.hpp"

namespace platform {

int Pipe::open(bool nonBlocking) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | (nonBlocking ? O_NONBLOCK : 0)) != 0) return errno;
    read = FileDescriptor(ends[0]);
    write = FileDescriptor(ends[1]);
    return 0;
}

}  // namespace platform
