#pragma once
// A pipe whose ends close themselves, and close in every program the
// process starts: a child gets an end only where it is made one of the
// child's standard streams.

#include "platform/FileDescriptor.hpp"

namespace platform {

struct Pipe {
    FileDescriptor read;
    FileDescriptor write;

    /// Opens a new pipe into `read` and `write`, both ends non-blocking
    /// when asked; 0, or the errno of the failure. Made with pipe2 or with
    /// pipe and fcntl, each in a file of its own (cmake/PlatformMechanisms.cmake).
    int open(bool nonBlocking = false);
};

}  // namespace platform
