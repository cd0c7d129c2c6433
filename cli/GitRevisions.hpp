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
/// the next word when it is the value of one of git difftool's or git
/// diff's options ("-t", "--extcmd", "-O", "--diff-filter", …). Before a
/// "--" every word left is a revision; without one, the first word that
/// names an existing file or directory (relative to `startDirectory`,
/// where git was started) and every word after it are paths. Of the
/// revisions, a range "A..B" or "A...B" gives A and B (an empty side is
/// HEAD); otherwise the first two are the revisions. Logs the words before
/// and after the options and paths are taken away (verbose).
GitRevisions parseGitRevisions(std::span<const std::string> arguments, const std::string& startDirectory);

}  // namespace varn
