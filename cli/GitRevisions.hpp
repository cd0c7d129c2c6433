#pragma once
// The revisions a "git difftool" command compares, read from its words as
// git reads them.

#include <optional>
#include <span>
#include <string>

namespace varn {

struct GitRevisions {
    std::optional<std::string> revspecA;
    std::optional<std::string> revspecB;

    bool operator==(const GitRevisions&) const = default;
};

/// The revisions among `arguments`, the words after "difftool", looking no
/// further than a "--". Options are taken away wherever they stand, with
/// the separate values of "-t", "--tool", "-x", "--extcmd", "--rotate-to"
/// and "--skip-to". The first word that names an existing file or
/// directory (relative to `startDirectory`, where git was started) and
/// every word after it are paths. Of the words left, a range "A..B" or
/// "A...B" gives A and B (an empty side is HEAD); otherwise the first two
/// are the revisions. Logs the words before and after the options and
/// paths are taken away (verbose).
GitRevisions parseGitRevisions(std::span<const std::string> arguments, const std::string& startDirectory);

}  // namespace varn
