#include "shared/DiffLink.hpp"

#include <algorithm>
#include <unordered_map>

#include "platform/Utf8.hpp"
#include "shared/UniversalLinks.hpp"

namespace VarnShared {

namespace {

std::string pathItemName(std::size_t index) { return "path_" + std::to_string(index); }

}  // namespace

std::optional<platform::Url> diffLink(std::string_view repo, const std::optional<std::string>& revspecA,
                                      const std::optional<std::string>& revspecB,
                                      const std::vector<std::string>& paths) {
    // Texts that are not UTF-8 could not be read back from the link.
    if (!platform::isValidUtf8(repo) || (revspecA && !platform::isValidUtf8(*revspecA)) ||
        (revspecB && !platform::isValidUtf8(*revspecB)) ||
        !std::all_of(paths.begin(), paths.end(), [](const std::string& p) { return platform::isValidUtf8(p); })) {
        return std::nullopt;
    }
    auto components = linkComponents(LinkKind::diff, repo);
    std::vector<platform::QueryItem> items{{"revspecA", revspecA}, {"revspecB", revspecB}};
    for (std::size_t i = 0; i < paths.size(); ++i) items.push_back({pathItemName(i), paths[i]});
    components.setQueryItems(items);
    return components.url();
}

std::optional<DiffLink> parseDiffLink(const platform::Url& url) {
    if (!isUniversalLink(url, LinkKind::diff)) return std::nullopt;
    auto items = url.queryItems();
    auto subject = linkSubject(url);
    if (!items || !subject) return std::nullopt;
    auto repo = platform::fileURL(*subject);
    if (!repo) return std::nullopt;

    // The first item of each name counts; indexing them once keeps a link
    // with many items from costing a search per path.
    std::unordered_map<std::string_view, const platform::QueryItem*> firstByName;
    for (const auto& item : *items) firstByName.try_emplace(item.name, &item);
    auto value = [&](const std::string& name) -> std::optional<std::string> {
        auto found = firstByName.find(name);
        return found == firstByName.end() ? std::nullopt : found->second->value;
    };

    DiffLink link{std::move(*repo), value("revspecA"), value("revspecB"), {}};
    for (std::size_t i = 0;; ++i) {
        auto found = firstByName.find(pathItemName(i));
        if (found == firstByName.end()) break;
        link.paths.push_back(found->second->value.value_or(""));
    }
    return link;
}

}  // namespace VarnShared
