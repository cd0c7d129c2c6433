#include "cli/Difftool.hpp"

#include "cli/DifftoolHandOff.hpp"
#include "cli/GitInvocation.hpp"
#include "cli/GitRevisions.hpp"
#include "cli/QuotedList.hpp"
#include "cli/RemoveQuarantine.hpp"
#include "cli/RepositoryResolution.hpp"
#include "cli/VerboseLog.hpp"
#include "platform/FileSystem.hpp"
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

bool namesAnEntry(const std::string& path) { return platform::fileExists(path) || platform::isSymbolicLink(path); }

/// A file argument where git meant it. git names the files from the top of
/// the work tree, where it starts the tool, but with --relative (or
/// diff.relative) from the directory it was started in: a relative path
/// that names nothing here but names something from there is taken from
/// there.
std::string fromWhereGitStarted(const std::string& file) {
    if (file.empty() || file.starts_with("/") || namesAnEntry(file)) return file;
    auto prefix = platform::environmentValue("GIT_PREFIX");
    if (!prefix || prefix->empty()) return file;
    auto started = platform::appendingPathComponent(*prefix, file);
    return namesAnEntry(started) ? started : file;
}

}  // namespace

ap::Result<void> Difftool::run() {
    auto mergedFile = fromWhereGitStarted(merged);
    // The repository is the work tree holding the file, so that a submodule's
    // entry joins its superproject's comparison. git difftool -d names no
    // file: its comparison is of the work tree git starts the tool in.
    auto start = platform::absolutePath(mergedFile);
    if (!start) return std::move(start).error();
    auto root = merged.empty() ? findRepositoryRoot(*start) : findRepositoryHolding(*start);

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
                                                      revisions.revspecB, fromWhereGitStarted(base),
                                                      fromWhereGitStarted(local), fromWhereGitStarted(remote),
                                                      mergedFile});
    if (!options) return std::move(options).error();
    return difftoolHandOff(*options);
}

}  // namespace varn
