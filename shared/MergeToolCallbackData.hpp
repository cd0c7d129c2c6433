#pragma once
// The return address a merge link may carry: where to report back and which
// application asked. The module reads it but never writes it.

#include <optional>
#include <string>

#include "platform/Url.hpp"

namespace VarnShared {

struct MergeToolCallbackData {
    /// Where to report back; never a file URL.
    std::optional<platform::Url> url;
    /// The requesting application's bundle identifier; empty when not given.
    std::string bundleID;

    /// The callback data of any URL's items "callback" and "bundleID";
    /// nothing when there is no "callback" value, or when it names no usable
    /// URL and no bundle identifier is given either.
    static std::optional<MergeToolCallbackData> fromURL(const platform::Url& url);
};

}  // namespace VarnShared
