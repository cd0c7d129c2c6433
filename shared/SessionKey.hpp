#pragma once
// The name of a session's directory: a hash of the session's identity, so
// that every run of one git invocation finds the same directory without any
// shared state.

#include <cstdint>
#include <string>
#include <string_view>

#include "shared/DiffToolSession.hpp"

namespace VarnShared {

/// The identity as hashed: pid, repo, revspecA and revspecB joined with
/// ":", each rendered as nil when absent and as Optional(…) around the
/// number or the quoted text when present, for example
/// Optional(42):Optional("/r"):nil:nil.
std::string sessionIdentityText(const DiffToolSession& session);

/// A text between double quotes, with quotes and backslashes escaped, tab,
/// line feed, carriage return and NUL written as \t, \n, \r and \0, and other
/// control characters as \u{hex}.
std::string quotedText(std::string_view text);

/// 64-bit FNV-1a of `bytes`.
std::uint64_t fnv1a64(std::string_view bytes);

/// The unsigned decimal text of the hash of the identity text.
std::string sessionKey(const DiffToolSession& session);

/// T + "/" + the session key, as text; nothing is created.
std::string sessionDirectory(const DiffToolSession& session);

}  // namespace VarnShared
