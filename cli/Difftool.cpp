#include "cli/Difftool.hpp"

#include "cli/DifftoolHandOff.hpp"
#include "cli/GitInvocation.hpp"
#include "cli/GitRevisions.hpp"
#include "cli/QuotedList.hpp"
#include "cli/RemoveQuarantine.hpp"
#include "cli/RepositoryResolution.hpp"
#include "cli/VerboseLog.hpp"
#include "platform/Paths.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/Strings.hpp"

namespace varn {

namespace {

/// Where git was started, which its path arguments count from. git starts
/// the tool at the top of the work tree, with the directory it was started
/// in (after any -C) in GIT_PREFIX, relative to the top.
platform::Result<std::string> gitStartDirectory(const std::optional<std::string>& root) {
    auto top = root ? platform::Result<std::string>(*root) : platform::currentDirectoryPath();
    if (!top) return top;
    auto prefix = platform::environmentValue("GIT_PREFIX");
    return prefix && !prefix->empty() ? *top + "/" + *prefix : *top;
}

}  // namespace

ap::Result<void> Difftool::run() {
    auto mergedPath = platform::absolutePath(merged);
    if (!mergedPath) return std::move(mergedPath).error();
    auto root = findRepositoryRoot(*mergedPath);

    // Every run of one git invocation finds the same git process: its
    // identifier ties the runs into one session, and its words hold the
    // revisions.
    auto git = findGitInvocation();
    if (!git) return std::move(git).error();
    // The quoted lines of every process on the walk are worth building only
    // for a reader: a plain run skips them.
    if (verboseLoggingEnabled()) {
        logVerbose("Group ID: " + std::to_string(git->pid));
        logVerbose("Lines: " + quotedList(git->linesRead));
    }

    GitRevisions revisions;
    if (!git->words.empty()) {
        logVerbose("Command line: " + platform::joined(git->words, " "));
        if (auto start = difftoolArguments(git->words)) {
            auto startDirectory = gitStartDirectory(root);
            if (!startDirectory) return std::move(startDirectory).error();
            revisions = parseGitRevisions(std::span(git->words).subspan(*start), *startDirectory);
        }
    }

    if (root) removeQuarantine(*root);
    auto options = VarnShared::DifftoolOptions::make({root, static_cast<std::int32_t>(git->pid), revisions.revspecA,
                                                      revisions.revspecB, base, local, remote, merged});
    if (!options) return std::move(options).error();
    return difftoolHandOff(*options);
}

}  // namespace varn
