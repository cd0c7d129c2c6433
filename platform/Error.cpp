#include "platform/Error.hpp"

#include <cstring>

namespace platform {

Error Error::posix(int errnum, const std::string& what, std::string path) {
    return Error{"NSPOSIXErrorDomain", errnum, what + ": " + std::strerror(errnum), std::move(path)};
}

}  // namespace platform
