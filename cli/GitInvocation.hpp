#pragma once
// The git command behind a difftool run. git does not tell the tool which
// revisions it compares, so they are read from git's own argument list,
// which the operating system keeps word for word. git starts the tool
// through a shell or two (git-difftool--helper is a script), so the git
// process is found by walking up the tool's ancestors.

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Error.hpp"

namespace varn {

struct GitInvocation {
    /// The process whose runs share one session.
    pid_t pid = 0;
    /// Its argument list, program name first; empty when it cannot be read.
    std::vector<std::string> words;
    /// The command lines read to find it, nearest process first, each its
    /// words joined by single spaces.
    std::vector<std::string> linesRead;
};

/// Where difftool's own arguments begin in `words`: after the program git,
/// git's options before its command (`-C DIR`, `-c NAME=VALUE`,
/// `--git-dir=DIR`, `--no-pager`, …) and the word "difftool"; or after the
/// program git-difftool. Nothing when `words` run no difftool.
std::optional<std::size_t> difftoolArguments(const std::vector<std::string>& words);

/// The nearest ancestor of this process that is git running difftool;
/// when there is none (the tool was not started by git), the leader of
/// this process's group. At most 64 ancestors are examined.
platform::Result<GitInvocation> findGitInvocation();

}  // namespace varn
