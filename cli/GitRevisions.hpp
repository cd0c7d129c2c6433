#pragma once
// The revisions a "git difftool" command line compares.

#include <optional>
#include <string>
#include <string_view>

namespace varn {

struct GitRevisions {
    std::optional<std::string> revspecA;
    std::optional<std::string> revspecB;

    bool operator==(const GitRevisions&) const = default;
};

/// The first two words after "difftool" once git's options are taken away
/// ("-t", "--tool", "-x", "--extcmd", "--rotate-to" and "--skip-to" with
/// their separate values), looking no further than a "--". Both absent when
/// there is no "difftool" followed by at least two words, or when the line
/// does not split into words (an open quote). The words are split as a
/// shell splits them; nothing in them is run or expanded. Logs the words
/// before and after the options are taken away (verbose).
GitRevisions parseGitRevisions(std::string_view commandLine);

}  // namespace varn
