#include "shared/MergeToolCallbackData.hpp"

namespace VarnShared {

std::optional<MergeToolCallbackData> MergeToolCallbackData::fromURL(const platform::Url& url) {
    if (!url.components().percentEncodedQuery) return std::nullopt;
    auto items = url.queryItems();
    if (!items) return std::nullopt;
    auto callback = platform::findQueryItem(*items, "callback");
    if (!callback || !callback->value) return std::nullopt;

    MergeToolCallbackData data;
    if (auto parsed = platform::Url::parse(*callback->value); parsed && !parsed->isFileURL()) data.url = *parsed;
    if (auto bundle = platform::findQueryItem(*items, "bundleID"); bundle && bundle->value) {
        data.bundleID = *bundle->value;
    }
    if (!data.url && data.bundleID.empty()) return std::nullopt;
    return data;
}

}  // namespace VarnShared
