#pragma once
// The error value of operations that touch the operating system: a domain, a
// code and the description the user sees.

#include <string>

#include "platform/Expected.hpp"

namespace platform {

struct Error {
    std::string domain;
    int code = 0;
    std::string description;
    /// The path or URL the error concerns, when there is one.
    std::string path;

    /// An error of the POSIX domain for `errnum`; the description is
    /// `what` followed by ": " and the system's text for the number.
    static Error posix(int errnum, const std::string& what, std::string path = {});
};

template <class T>
using Result = Expected<T, Error>;

}  // namespace platform
