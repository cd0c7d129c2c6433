#pragma once
// How one run's files enter a session: files outside the repository (git's
// temporary files, which git removes once the run ends) are copied into the
// session directory and the copies recorded; work-tree files are recorded
// where they are.

#include <string>

#include "platform/Error.hpp"
#include "shared/DiffToolMetaData.hpp"
#include "shared/DifftoolOptions.hpp"

namespace VarnShared {

/// The path to record for `path`: unchanged when it is empty, "/dev/null",
/// or (links resolved) the repository or a path below it; otherwise a new
/// copy in the session directory named after its last component, "-" and a
/// UUID. Failures to create the directory or to copy are returned.
platform::Result<std::string> preserveFile(const std::string& path, const DifftoolOptions& options);

/// The options' four files, in the order base, local, remote, merged, each
/// through `preserveFile`; the first failure ends it.
platform::Result<DiffToolMetaData::Entry> makeEntry(const DifftoolOptions& options);

/// A new record of the options' session holding their entry alone.
platform::Result<DiffToolMetaData> makeSession(const DifftoolOptions& options);

/// `record` with the options' entry appended, duplicates allowed; the
/// record's identity stays its own.
platform::Result<DiffToolMetaData> adding(DiffToolMetaData record, const DifftoolOptions& options);

}  // namespace VarnShared
