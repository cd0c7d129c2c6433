#include "tools/varnel-stub/DiffDelivery.hpp"

#include "shared/DiffLink.hpp"
#include "shared/UniversalLinks.hpp"

namespace varnelstub {
namespace {

std::optional<VarnShared::DiffLink> parsed(const std::string& target) {
    auto url = platform::Url::parse(target);
    if (!url) return std::nullopt;
    return VarnShared::parseDiffLink(*url);
}

bool accepts(const std::string& target) { return parsed(target).has_value(); }

platform::Result<std::string> deliver(const std::string& target) {
    auto link = parsed(target);
    if (!link) return platform::Error{"VarnelStub", 1, "Not a diff link: " + target};
    auto repo = link->repo.filePath();
    std::string detail = "repo=" + repo.value_or("?") + " revspecA=" + link->revspecA.value_or("-") +
                         " revspecB=" + link->revspecB.value_or("-") + " paths=";
    for (std::size_t i = 0; i < link->paths.size(); ++i) detail += (i ? "," : "") + link->paths[i];
    return detail;
}

}  // namespace

const Delivery diffDelivery{"diff", accepts, deliver};

}  // namespace varnelstub
