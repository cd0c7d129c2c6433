#pragma once
// A session's directory on disk, made ready before anything is put into it.

#include <string>

#include "platform/Error.hpp"
#include "shared/DiffToolSession.hpp"

namespace VarnShared {

/// `sessionDirectory(session)`, created in T when missing and checked to be
/// the user's own real directory (not a link to one), since copies of the
/// user's files and the record go there. A run prepares it once.
platform::Result<std::string> ensureSessionDirectory(const DiffToolSession& session);

}  // namespace VarnShared
