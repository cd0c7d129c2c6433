// Replacing an entry by renaming over it with renameat
// (VARN_REPLACE_ENTRY=renameat, the default on macOS, whose file systems
// write a renamed file's data out no sooner for it).

#include <stdio.h>

#include <cerrno>

#include "platform/ReplaceEntry.hpp"

namespace platform {

int replaceEntry(int directoryFd, const char* from, const char* to) {
    return ::renameat(directoryFd, from, directoryFd, to) == 0 ? 0 : errno;
}

}  // namespace platform
