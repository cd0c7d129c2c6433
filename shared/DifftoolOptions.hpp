#pragma once
// The parameters of one difftool run: the session it belongs to and the
// four files git handed over, every path absolute.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Error.hpp"
#include "shared/DiffToolSession.hpp"

namespace VarnShared {

/// What a run is given, as given: the repository (the current directory
/// when absent), the session's identity and git's four files, each a path
/// or a "file:" URL.
struct DifftoolArguments {
    std::optional<std::string> repo;
    std::optional<std::int32_t> pid;
    std::optional<std::string> revspecA;
    std::optional<std::string> revspecB;
    std::string base;
    std::string local;
    std::string remote;
    std::string merged;
};

struct DifftoolOptions : DiffToolSession {
    std::string base;
    std::string local;
    std::string remote;
    std::string merged;

    /// The repository standardised, made absolute and link-free; the four
    /// files through `normalizeFileArgument`. A repository that does not
    /// exist keeps its absolute form; only a current directory that is
    /// needed and cannot be read is an error.
    static platform::Result<DifftoolOptions> make(const DifftoolArguments& arguments);

    bool operator==(const DifftoolOptions&) const = default;
};

/// A file argument as an absolute path: a "file:/" URL becomes its
/// percent-decoded path, an absolute path stays as it is, a relative one
/// counts from the current directory (an error when that cannot be read).
/// An empty text stays empty: it names no file, and the current directory
/// would be a wrong one.
platform::Result<std::string> normalizeFileArgument(std::string_view text);

}  // namespace VarnShared
