#pragma once
// The files git hands a diff tool for one comparison, listed once for every
// type that holds them: an entry of a session record, the options of a run
// and the arguments it is given. Another file would be one more line here
// (and its field in each of those types).

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Error.hpp"

namespace VarnShared {

/// One of the files: its name (an entry's member in a session record, and
/// git's option that passes it) and where a `Holder` keeps its path.
template <class Holder>
struct DiffToolFile {
    std::string_view name;
    std::string Holder::*path;
};

/// The files of a `Holder`, in the order the application reads an entry's
/// members, which decides the fault it reports first.
template <class Holder>
inline constexpr std::array<DiffToolFile<Holder>, 4> diffToolFiles{{
    {"base", &Holder::base},
    {"local", &Holder::local},
    {"remote", &Holder::remote},
    {"merged", &Holder::merged},
}};

/// Sets each file of `to` to what `convert` makes of the same file of
/// `from`, in order; the first failure ends it, the files set before it
/// kept.
template <class To, class From, class Convert>
platform::Result<void> convertDiffToolFiles(To& to, const From& from, Convert convert) {
    for (std::size_t i = 0; i < diffToolFiles<To>.size(); ++i) {
        platform::Result<std::string> converted = convert(from.*diffToolFiles<From>[i].path);
        if (!converted) return std::move(converted).error();
        to.*diffToolFiles<To>[i].path = std::move(*converted);
    }
    return {};
}

}  // namespace VarnShared
