#pragma once
// What the application has not been shown yet: a session record grows by
// one entry per run, and the application keeps the record it saw last.

#include <optional>
#include <vector>

#include "shared/DiffToolMetaData.hpp"
#include "shared/DifftoolOptions.hpp"

namespace VarnShared {

/// The entries of `record`, each first occurrence alone and in order, less
/// those `previous` holds, as options of the record's session (paths
/// normalised again). Linear in the sizes of both records. An error only
/// when a relative path needs a current directory that cannot be read.
platform::Result<std::vector<DifftoolOptions>> newOptions(const DiffToolMetaData& record,
                                                          const std::optional<DiffToolMetaData>& previous);

}  // namespace VarnShared
