#pragma once
// The parameters of one difftool run: the session it belongs to and the
// four files git handed over, every path absolute.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shared/DiffToolSession.hpp"

namespace VarnShared {

struct DifftoolOptions : DiffToolSession {
    std::string base;
    std::string local;
    std::string remote;
    std::string merged;

    /// `repo` (the current directory when absent) standardised, made
    /// absolute and link-free; the four files through
    /// `normalizeFileArgument`. Never fails: a repository that does not
    /// exist keeps its absolute form.
    DifftoolOptions(const std::optional<std::string>& repo, std::optional<std::int32_t> pid,
                    std::optional<std::string> revspecA, std::optional<std::string> revspecB, std::string_view base,
                    std::string_view local, std::string_view remote, std::string_view merged);

    bool operator==(const DifftoolOptions&) const = default;
};

/// A file argument as an absolute path: a "file:/" URL becomes its
/// percent-decoded path, an absolute path stays as it is, a relative one
/// counts from the current directory. An empty text stays empty: it names
/// no file, and the current directory would be a wrong one.
std::string normalizeFileArgument(std::string_view text);

}  // namespace VarnShared
