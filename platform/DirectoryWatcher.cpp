#include "platform/DirectoryWatcher.hpp"

namespace platform {

void DirectoryWatcher::close() {
    (void)fd_.close();
    (void)directoryFd_.close();
}

}  // namespace platform
