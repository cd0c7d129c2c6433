#pragma once
// How one run's files enter a session: git's temporary files, which git
// removes once the run ends, and any other file outside the repository are
// copied into the session directory and the copies recorded; work-tree
// files are recorded where they are. A run may also compare two whole
// directories, as `git difftool -d` asks: then it adds one entry per file
// pair.

#include <string>
#include <vector>

#include "platform/Error.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/DifftoolOptions.hpp"

namespace VarnShared {

// `directory` below is the options' session directory, prepared with
// `ensureSessionDirectory`: a run prepares it once for all its copies.

/// The path to record for `path`: unchanged when it is empty, "/dev/null",
/// or (links resolved) the repository or a path below it, unless it lies in
/// git's temporary directory inside the repository; otherwise a new copy in
/// `directory` named after its last component, "-" and a UUID. A copy that
/// fails is returned as the error.
platform::Result<std::string> preserveFile(const std::string& path, const DifftoolOptions& options,
                                           const std::string& directory);

/// The options' files, in the order of `diffToolFiles`, each through
/// `preserveFile`; the first failure ends it, and removes the copies made
/// before it.
platform::Result<DiffToolMetaData::Entry> makeEntry(const DifftoolOptions& options, const std::string& directory);

/// The entries of a comparison of the directories `local` and `remote`,
/// which git removes once the tool ends. Files are paired by their path
/// below the directories, in byte order; a file on one side only pairs with
/// "/dev/null". A symbolic link into the repository is recorded as the
/// work-tree file it names; anything else is copied as `preserveFile`
/// copies. `merged`, and `base` as git gives it to a single-file run, is
/// the work-tree path: the repository followed by the file's path. A copy
/// that fails removes the copies made before it.
platform::Result<std::vector<DiffToolMetaData::Entry>> makeDirectoryEntries(const DifftoolOptions& options,
                                                                            const std::string& directory);

/// The run's entries: those of `makeDirectoryEntries` when `local` and
/// `remote` are both directories, else its one entry (`makeEntry`).
platform::Result<std::vector<DiffToolMetaData::Entry>> makeEntries(const DifftoolOptions& options,
                                                                   const std::string& directory);

/// Removes the copies in `directory` that `entries` name, made for a run
/// that then failed, so that it leaves nothing behind. Files git handed
/// over are never there.
void removeCopies(const std::vector<DiffToolMetaData::Entry>& entries, const std::string& directory);

/// A new record of the options' session holding their entries alone; the
/// session directory is prepared for their copies.
platform::Result<DiffToolMetaData> makeSession(const DifftoolOptions& options);

/// `record` with the options' entries appended, duplicates allowed; the
/// record's identity stays its own. The session directory is prepared for
/// their copies.
platform::Result<DiffToolMetaData> adding(DiffToolMetaData record, const DifftoolOptions& options);

}  // namespace VarnShared
