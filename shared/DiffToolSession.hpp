#pragma once
// The identity of one difftool session. Every run of one git invocation
// carries the same identity, so all its file pairs land in one record. The
// session record and the options of a single run both provide it.

#include <cstdint>
#include <optional>
#include <string>

namespace VarnShared {

struct DiffToolSession {
    std::string repo;
    /// The git invocation's process group.
    std::optional<std::int32_t> pid;
    std::optional<std::string> revspecA;
    std::optional<std::string> revspecB;

    bool operator==(const DiffToolSession&) const = default;
};

}  // namespace VarnShared
